// Win32 backend of the process runner: CreateProcessW with one anonymous pipe
// for standard output and error, no console window, a bounded wait with the
// pipe read meanwhile, TerminateProcess at the bound.
#include <windows.h>

#include "platform/process_runner.h"
#include "platform/utf_win32.h"

namespace qf {

namespace {

using Clock = std::chrono::steady_clock;

// How long one wait lasts when the pipe is empty before it is looked at again.
constexpr DWORD kWaitSliceMs = 20;
// After TerminateProcess, how long to wait for the process to be gone.
constexpr DWORD kTerminateWaitMs = 2000;

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() { reset(); }
  Handle(Handle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE* out() { reset(); return &h_; }
  void reset() {
    if (h_) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// Reads what the pipe holds now without blocking. Returns false once every
// write end is closed (or on an error).
bool drain(HANDLE pipe, std::string& out) {
  char chunk[4095];
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available == 0) return true;
    DWORD got = 0;
    DWORD want = available < sizeof chunk ? available : sizeof chunk;
    if (!ReadFile(pipe, chunk, want, &got, nullptr) || got == 0) return false;
    out.append(chunk, got);
  }
}

DWORD milliseconds_left(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<DWORD>(left.count());
}

// Waits for the process, reading the pipe meanwhile. The end is the process's
// exit, not the end of the pipe: an ADB server the client started may hold a
// copy of the write end for ever.
void supervise(HANDLE process, HANDLE pipe, std::chrono::milliseconds bound, ProcessRun& run) {
  const auto deadline = Clock::now() + bound;
  bool pipe_open = pipe != nullptr;
  for (;;) {
    if (pipe_open) pipe_open = drain(pipe, run.output);
    DWORD left = milliseconds_left(deadline);
    DWORD slice = left < kWaitSliceMs ? left : kWaitSliceMs;
    if (WaitForSingleObject(process, slice) == WAIT_OBJECT_0) break;
    if (left == 0) {
      run.timed_out = true;
      TerminateProcess(process, 0);
      WaitForSingleObject(process, kTerminateWaitMs);
      break;
    }
  }
  if (pipe_open) drain(pipe, run.output);
}

Handle open_null_device(DWORD access, SECURITY_ATTRIBUTES* inherit) {
  return Handle(CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, inherit,
                            OPEN_EXISTING, 0, nullptr));
}

}  // namespace

ProcessRun run_process(const std::vector<std::string>& command, std::chrono::milliseconds bound,
                       bool capture) {
  ProcessRun run;
  if (command.empty() || command[0].empty()) return run;

  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  Handle read_end, write_end;
  if (capture) {
    if (!CreatePipe(read_end.out(), write_end.out(), &inherit, 0)) return run;
    // Only the write end goes to the child.
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
  } else {
    // Nobody reads this child's output; it must not reach our own streams.
    write_end = open_null_device(GENERIC_WRITE, &inherit);
  }
  Handle null_in = open_null_device(GENERIC_READ, &inherit);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = null_in.get();
  startup.hStdOutput = write_end.get();
  startup.hStdError = write_end.get();

  std::wstring program = widen(command[0]);
  std::wstring line = widen(windows_command_line(command));
  PROCESS_INFORMATION info{};
  BOOL ok = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                           nullptr, nullptr, &startup, &info);
  // The parent's copy of the write end must go, or the pipe never ends.
  write_end.reset();
  if (!ok) return run;
  run.started = true;
  Handle process(info.hProcess), thread(info.hThread);
  supervise(process.get(), capture ? read_end.get() : nullptr, bound, run);
  return run;
}

std::string own_program_dir() {
  std::wstring path(4096, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return {};
  path.resize(n);
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string() : narrow(path.substr(0, slash));
}

}  // namespace qf
