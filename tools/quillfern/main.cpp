// quillfern: the phone-record and carving pipelines from a terminal.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/version.h"
#include "tools/quillfern/arguments.h"
#include "tools/quillfern/commands.h"

#ifdef _WIN32
#include "platform/utf_win32.h"
#endif

namespace {

constexpr const char kUsage[] =
    QF_PRODUCT_NAME " " QF_VERSION_TEXT " - command-line tool\n"
    "\n"
    "usage: quillfern COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  records  recover contacts and messages from database files you already have\n"
    "  phone    check the attached phone, pull its databases and recover from them\n"
    "  carve    find deleted files on a disk image or a raw device\n"
    "\n"
    "options:\n"
    "  --version  the tool's name and version\n"
    "  -h, --help this text\n"
    "\n"
    "'quillfern COMMAND --help' explains a command and lists its exit codes.\n"
    "Messages and progress go to standard error, results to standard output.\n"
    "\n"
    "Exit status: 0 done, 2 no or an unknown command; each command lists its own.\n";

int dispatch(int argc, char** argv) {
  if (argc >= 2 && !std::strcmp(argv[1], "--version")) return qf::cli::print_version(), 0;
  if (argc < 2 || qf::cli::is_help_word(argv[1])) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  if (command == "records") return qf::cli::run_records_command(argc - 1, argv + 1);
  if (command == "phone") return qf::cli::run_phone_command(argc - 1, argv + 1);
  if (command == "carve") return qf::cli::run_carve_command(argc - 1, argv + 1);
  std::fprintf(stderr, "quillfern: unknown command '%s'\n\n%s", command.c_str(), kUsage);
  return 2;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** wargv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(qf::narrow(wargv[i]));
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return dispatch(argc, argv.data());
}
#else
int main(int argc, char** argv) { return dispatch(argc, argv); }
#endif
