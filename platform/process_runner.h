#pragma once
// Starting a helper program with bounded waits. The device link runs its ADB
// client through this; nothing here knows what the program does.
//
// A command is an argument vector of UTF-8 strings, the first being the
// program's path. Each argument reaches the program whole (spaces, quotes and
// backslashes included): the Windows backend builds the command line by the
// C runtime's quoting rules, the POSIX backend hands the vector to exec.
//
// The child gets no console window; its standard input is the null device.
// With output capture, standard output and standard error share one pipe, so
// the bytes come back interleaved as written. The pipe is read while the child
// runs, so a child that writes more than a pipe holds is never blocked by us.
#include <chrono>
#include <string>
#include <vector>

namespace qf {

struct ProcessRun {
  bool started = false;    // false: the program could not be started at all
  bool timed_out = false;  // it was still running at the bound and was killed
  std::string output;      // captured bytes (capture runs only), exactly as written
};

// Runs `command` and waits at most `bound`; a child still running then is
// killed. With `capture` false the child's standard output and error go to
// the null device. Never throws; an empty command does not start anything.
ProcessRun run_process(const std::vector<std::string>& command, std::chrono::milliseconds bound,
                       bool capture);

// Directory of the running executable (UTF-8, no trailing separator), or ""
// when the platform cannot tell.
std::string own_program_dir();

// The Windows command line for `command`: every argument quoted when it needs
// it, so CommandLineToArgvW and the C runtime split it back into `command`.
std::string windows_command_line(const std::vector<std::string>& command);

}  // namespace qf
