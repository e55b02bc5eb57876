// POSIX backend of the process runner: posix_spawn with one pipe for standard
// output and error, polled while the child runs, SIGKILL at the bound.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/process_runner.h"

extern char** environ;

namespace qf {

namespace {

using Clock = std::chrono::steady_clock;

// How long one poll waits before the child's state is looked at again.
constexpr int kPollSliceMs = 20;

class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// Reads what the pipe holds now without blocking. Returns false once every
// write end is closed (or on a read error).
bool drain(int fd, std::string& out) {
  char chunk[4095];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n > 0) {
      out.append(chunk, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

bool reap(pid_t pid) {
  int status = 0;
  pid_t r;
  do {
    r = waitpid(pid, &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  return r == pid || (r < 0 && errno == ECHILD);
}

void kill_and_reap(pid_t pid) {
  kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

int milliseconds_left(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// Waits for the child, reading the pipe (fd >= 0) meanwhile. The end is the
// child's exit, not the end of the pipe: a program the child started in the
// background (an ADB server) may keep the write end open for ever.
void supervise(pid_t pid, int fd, std::chrono::milliseconds bound, ProcessRun& run) {
  const auto deadline = Clock::now() + bound;
  bool pipe_open = fd >= 0;
  for (;;) {
    if (pipe_open) pipe_open = drain(fd, run.output);
    if (reap(pid)) break;
    int left = milliseconds_left(deadline);
    if (left == 0) {
      run.timed_out = true;
      kill_and_reap(pid);
      break;
    }
    int slice = left < kPollSliceMs ? left : kPollSliceMs;
    if (pipe_open) {
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, slice);
    } else {
      usleep(static_cast<useconds_t>(slice) * 1000);
    }
  }
  // Whatever the child wrote before it ended is in the pipe by now.
  if (pipe_open) drain(fd, run.output);
}

}  // namespace

ProcessRun run_process(const std::vector<std::string>& command, std::chrono::milliseconds bound,
                       bool capture) {
  ProcessRun run;
  if (command.empty() || command[0].empty()) return run;

  int fds[2] = {-1, -1};
  if (capture && pipe2(fds, O_CLOEXEC) != 0) return run;
  FileActions actions;
  posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  if (capture) {
    // dup2 clears close-on-exec on the copies; the originals close at exec.
    posix_spawn_file_actions_adddup2(actions.get(), fds[1], 1);
    posix_spawn_file_actions_adddup2(actions.get(), fds[1], 2);
  } else {
    posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0);
  }

  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // A bare name is looked up on PATH (the Linux tool runs `adb` that way).
  const bool search = command[0].find('/') == std::string::npos;
  pid_t pid = 0;
  int err = search ? posix_spawnp(&pid, argv[0], actions.get(), nullptr, argv.data(), environ)
                   : posix_spawn(&pid, argv[0], actions.get(), nullptr, argv.data(), environ);
  if (capture) close(fds[1]);
  if (err != 0) {
    if (capture) close(fds[0]);
    return run;
  }
  run.started = true;
  if (capture) fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  supervise(pid, capture ? fds[0] : -1, bound, run);
  if (capture) close(fds[0]);
  return run;
}

std::string own_program_dir() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  std::string path(buffer, static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/'));
}

}  // namespace qf
