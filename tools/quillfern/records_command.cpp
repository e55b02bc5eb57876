// quillfern records: the phone-record pipeline on database files the user
// already has. The given files are evidence and are only ever read: each is
// copied with its -wal and -shm into a private work folder, exactly as the
// device pull leaves them, and the bare backup copy is made from the copied
// main file before anything opens it (an ordinary SQLite connection would
// checkpoint and delete a -wal, destroying the deleted rows that only it
// holds). The loader then runs on the copies.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "records/domain_export.h"
#include "records/parser_library.h"
#include "tools/quillfern/commands.h"
#include "tools/quillfern/load_and_report.h"
#include "tools/quillfern/work_folder.h"

namespace qf::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char kUsage[] =
    "usage: quillfern records [--contacts FILE] [--messages FILE] --out DIR\n"
    "\n"
    "Recovers contacts and SMS, deleted ones too, from an Android contacts\n"
    "database (contacts2.db) and/or telephony database (mmssms.db), and writes\n"
    "the reports Contacts.html and Messages.html into DIR.\n"
    "\n"
    "  --contacts FILE  the contacts database; FILE-wal and FILE-shm beside it\n"
    "                   are used too when present\n"
    "  --messages FILE  the telephony database, likewise with its side files\n"
    "  --out DIR        folder for the reports (created when missing)\n"
    "  -h, --help       this text\n"
    "\n"
    "The given files are never opened or changed: they are copied into a private\n"
    "work folder first and read there. Prints the counts of live and deleted\n"
    "records. Exit status: 0 done, 1 a file could not be read or written,\n"
    "2 bad arguments.\n";

struct Arguments {
  std::string contacts;
  std::string messages;
  std::string out;
  bool help = false;
};

int usage_error(const std::string& message) {
  std::fprintf(stderr, "quillfern records: %s\n\n%s", message.c_str(), kUsage);
  return 2;
}

// Fills `args`; returns -1 when parsing went well, else the exit code.
int parse_arguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      args.help = true;
      return -1;
    }
    std::string* target = a == "--contacts" ? &args.contacts
                          : a == "--messages" ? &args.messages
                          : a == "--out"      ? &args.out
                                              : nullptr;
    if (target == nullptr) return usage_error("unknown argument '" + a + "'");
    if (i + 1 >= argc || argv[i + 1][0] == '\0') return usage_error(a + " needs a value");
    if (!target->empty()) return usage_error(a + " given twice");
    *target = argv[++i];
  }
  if (args.contacts.empty() && args.messages.empty())
    return usage_error("give --contacts FILE, --messages FILE or both");
  if (args.out.empty()) return usage_error("--out DIR is missing");
  return -1;
}

// A readable regular file, or an error message.
bool check_input(const std::string& path, const char* what) {
  std::error_code ec;
  const fs::path p = fs::u8path(path);
  if (!fs::is_regular_file(p, ec)) {
    std::fprintf(stderr, "quillfern records: %s database '%s' is not a readable file\n", what,
                 path.c_str());
    return false;
  }
  if (std::ifstream(p, std::ios::binary)) return true;
  std::fprintf(stderr, "quillfern records: cannot read %s database '%s'\n", what, path.c_str());
  return false;
}

// The pulled copy and the bare backup copy of one database, as the device
// pull leaves them: <work>/<kind>/<name> with its side files, and
// <work>/<kind>/bak/<name>. The names matter: the scan looks for them.
struct DatabaseCopies {
  std::string db_path;
  std::string bak_path;
};

bool copy_one(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
}

bool make_copies(const std::string& source, const fs::path& work, const char* kind,
                 const char* name, DatabaseCopies& copies) {
  const fs::path folder = work / kind;
  std::error_code ec;
  fs::create_directories(folder / "bak", ec);
  copies.db_path = (folder / name).u8string();
  copies.bak_path = (folder / "bak" / name).u8string();
  if (source.empty()) return true;  // not given: the loader finds nothing there
  // The main file first, then the backup from that copy, before any side
  // file stands beside it and before anything opens it.
  if (!copy_one(fs::u8path(source), folder / name)) return false;
  if (!copy_one(folder / name, folder / "bak" / name)) return false;
  for (const char* suffix : {"-wal", "-shm"}) {
    const fs::path side = fs::u8path(source + suffix);
    if (fs::exists(side, ec) && !copy_one(side, fs::u8path(copies.db_path + suffix))) return false;
  }
  return true;
}

}  // namespace

int run_records_command(int argc, char** argv) {
  Arguments args;
  if (int rc = parse_arguments(argc, argv, args); rc >= 0) return rc;
  if (args.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!args.contacts.empty() && !check_input(args.contacts, "contacts")) return 1;
  if (!args.messages.empty() && !check_input(args.messages, "telephony")) return 1;
  std::error_code ec;
  fs::create_directories(fs::u8path(args.out), ec);
  if (!fs::is_directory(fs::u8path(args.out), ec)) {
    std::fprintf(stderr, "quillfern records: cannot create the output folder '%s'\n", args.out.c_str());
    return 1;
  }
  if (!parser_library_available())
    std::fputs("quillfern records: warning: the parser library is missing; only deleted records are read\n",
               stderr);

  WorkFolder work;
  DatabaseCopies contacts, messages;
  if (!work.make("quillfern-records-") || !make_copies(args.contacts, work.path(), "contacts", "contacts2.db", contacts) ||
      !make_copies(args.messages, work.path(), "messages", "mmssms.db", messages)) {
    std::fputs("quillfern records: cannot copy the databases into a work folder\n", stderr);
    return 1;
  }

  LoadedRecords loaded;
  load_records({contacts.db_path, contacts.bak_path, messages.db_path, messages.bak_path}, loaded);
  print_counts(loaded);
  ReportRequest request{!args.contacts.empty(), !args.messages.empty(), args.out, ReportTemplatePath(),
                        "quillfern records"};
  return write_reports(loaded, request) ? 0 : 1;
}

}  // namespace qf::cli
