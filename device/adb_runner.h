#pragma once
// Runs the ADB client: finds it, starts it hidden with a command, waits a
// bounded time and hands back everything it wrote to standard output and
// standard error as one byte string. It knows nothing of what the commands
// mean; the device check and the pull read the answers.
//
// Every call blocks for as long as its waits last: call from worker threads
// (the main window calls only adb_kill_server, once, while it closes).
#include <chrono>
#include <string>
#include <vector>

namespace qf::device {

// The file name of the client that stands beside the program.
constexpr const char kAdbClientFileName[] = "tarnwick-recovery-for-android-adb-help.exe";

constexpr std::chrono::milliseconds kWaitBound{3000};      // run_and_wait
constexpr std::chrono::milliseconds kCaptureBound{10000};  // run_and_capture

// Which client to run and how long to wait for it. The program uses the client
// beside itself with the standard bounds; the command-line tool on Linux names
// `adb`, and tests shorten the bounds.
struct AdbClient {
  std::string path;  // UTF-8; a bare name is looked up on PATH (POSIX only)
  std::chrono::milliseconds wait_bound = kWaitBound;
  std::chrono::milliseconds capture_bound = kCaptureBound;
};

// The directory of the running program's own executable, then the client's
// file name. Computed afresh on every call.
std::string adb_client_path();

// adb_client_path() with the standard bounds.
AdbClient default_adb_client();

// Starts the server first (run_and_wait "start-server", so the server already
// runs, started by a process whose output nobody captures), then runs the
// client with `arguments` and returns its captured output; empty when the
// client does not start.
std::string adb_command(const AdbClient& client, const std::vector<std::string>& arguments);
std::string adb_command(const std::vector<std::string>& arguments);

// Runs the client with "kill-server" through run_and_wait.
void adb_kill_server(const AdbClient& client);
void adb_kill_server();

// `command` is the program path followed by its arguments. run_and_wait
// starts it and waits up to `bound`, killing it then; nothing is captured.
void run_and_wait(const std::vector<std::string>& command,
                  std::chrono::milliseconds bound = kWaitBound);
// Like run_and_wait, but returns what the program wrote to standard output and
// error, interleaved as written, also when it had to be killed at the bound.
std::string run_and_capture(const std::vector<std::string>& command,
                            std::chrono::milliseconds bound = kCaptureBound);

}  // namespace qf::device
