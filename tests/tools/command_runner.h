#pragma once
// Runs a subcommand of the command-line tool in-process, as the shell would:
// argument words in, exit status, standard output and standard error out.
// And the phone's two databases as a running phone leaves them.
#include <string>
#include <vector>

namespace qf::test {

struct CommandResult {
  int code = -1;
  std::string out;
  std::string err;
};

using CommandFunction = int (*)(int, char**);

// `name` becomes argv[0], as the dispatcher passes it.
CommandResult run_command(CommandFunction command, const char* name, std::vector<std::string> args);

// contacts2.db and mmssms.db in WAL mode with their -wal files in `dir`:
// "Ann Live" (555) and "Bo Gone" (777, deleted, its deletion only in the
// -wal), and two messages with Ann, one holding "</script>".
void write_phone_databases(const std::string& dir);

}  // namespace qf::test
