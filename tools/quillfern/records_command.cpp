// quillfern records: the phone-record pipeline on database files the user
// already has. The given files are evidence and are only ever read: each is
// copied with its -wal and -shm into a private work folder, exactly as the
// device pull leaves them, and the bare backup copy is made from the copied
// main file before anything opens it (an ordinary SQLite connection would
// checkpoint and delete a -wal, destroying the deleted rows that only it
// holds). The loader then runs on the copies.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "records/domain_export.h"
#include "records/parser_library.h"
#include "tools/quillfern/arguments.h"
#include "tools/quillfern/commands.h"
#include "tools/quillfern/database_check.h"
#include "tools/quillfern/interrupt_flag.h"
#include "tools/quillfern/load_and_report.h"
#include "tools/quillfern/run_inputs.h"
#include "tools/quillfern/work_folder.h"

namespace qf::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char kUsage[] =
    "usage: quillfern records [--contacts FILE] [--messages FILE] -o DIR [--template PATH]\n"
    "\n"
    "Recovers contacts and SMS, deleted ones too, from an Android contacts\n"
    "database (contacts2.db) and/or telephony database (mmssms.db), and writes\n"
    "Contacts.html, Messages.html, contacts.csv, messages.csv and report.json\n"
    "into DIR.\n"
    "\n"
    "  --contacts FILE    the contacts database; FILE-wal and FILE-shm beside it\n"
    "                     are used too when present\n"
    "  --messages FILE    the telephony database, likewise with its side files\n"
    "  -o, --out DIR      folder for the reports (created when missing)\n"
    "  --template PATH    the report template (default: the copy built into the tool)\n"
    "  -q, --quiet        no warnings, only errors and results\n"
    "  --version          the tool's name and version\n"
    "  -h, --help         this text\n"
    "Options also take the form --option=value.\n"
    "\n"
    "The given files are never opened or changed: they are copied into a private\n"
    "work folder first and read there. Prints the counts of live and deleted\n"
    "records and the files written.\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  a file is missing, is not the database it was given as, or an output\n"
    "     could not be written\n"
    "  2  bad arguments\n"
    "  130  stopped by Ctrl-C (the work folder is removed)\n";

const std::vector<OptionSpec> kOptions = {{"--contacts", 0, true}, {"--messages", 0, true}, {"--out", 'o', true},
                                          {"--template", 0, true}, {"--quiet", 'q', false}};

// Says which file is unusable and why; false then.
bool check_input(const std::string& path, const ExpectedDatabase& expected, const char* option,
                 const fs::path& work) {
  const std::string problem = database_problem(path, expected, work / "check");
  if (problem.empty()) return true;
  std::fprintf(stderr, "quillfern records: %s '%s': %s\n", option, path.c_str(), problem.c_str());
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

struct Arguments {
  std::string contacts, messages, out, template_path;
  bool quiet = false;
};

// Fills `a`; returns -1 when the run can go on, else the exit status.
int read_arguments(int argc, char** argv, Arguments& a) {
  ParsedArguments parsed;
  const std::string problem = parse_arguments(argc, argv, kOptions, parsed);
  if (parsed.help) return std::fputs(kUsage, stdout), 0;
  if (parsed.version) return print_version(), 0;
  if (!problem.empty()) return usage_error("records", problem, kUsage);
  if (!parsed.positional.empty())
    return usage_error("records", "unexpected argument '" + parsed.positional[0] + "'", kUsage);
  a = {parsed.value("--contacts"), parsed.value("--messages"), parsed.value("--out"), parsed.value("--template"),
       parsed.has("--quiet")};
  if (a.contacts.empty() && a.messages.empty())
    return usage_error("records", "give --contacts FILE, --messages FILE or both", kUsage);
  if (a.out.empty()) return usage_error("records", "--out DIR is missing", kUsage);
  return -1;
}

}  // namespace

int run_records_command(int argc, char** argv) {
  Arguments a;
  if (int code = read_arguments(argc, argv, a); code >= 0) return code;
  const std::string &contacts_path = a.contacts, &messages_path = a.messages, &out = a.out;

  InterruptScope interrupt_scope;
  WorkFolder work;
  if (!work.make("quillfern-records-")) {
    std::fputs("quillfern records: cannot make a work folder in the temporary folder\n", stderr);
    return 1;
  }
  ReportRequest request{!contacts_path.empty(), !messages_path.empty(), out, a.template_path,
                        "quillfern records", {"records", now_text(), {}, {}}};
  if (!contacts_path.empty() && !check_input(contacts_path, kContactsDatabase, "--contacts", work.path())) return 1;
  if (!messages_path.empty() && !check_input(messages_path, kMessagesDatabase, "--messages", work.path())) return 1;
  std::error_code ec;
  fs::create_directories(fs::u8path(out), ec);
  if (!fs::is_directory(fs::u8path(out), ec)) {
    std::fprintf(stderr, "quillfern records: cannot create the output folder '%s'\n", out.c_str());
    return 1;
  }
  if (!parser_library_available() && !a.quiet)
    std::fputs("quillfern records: warning: the parser library is missing; only deleted records are read\n",
               stderr);

  DatabaseCopies contacts, messages;
  if (!make_copies(contacts_path, work.path(), "contacts", "contacts2.db", contacts) ||
      !make_copies(messages_path, work.path(), "messages", "mmssms.db", messages)) {
    std::fputs("quillfern records: cannot copy the databases into a work folder\n", stderr);
    return 1;
  }
  if (!contacts_path.empty()) add_database_inputs(request.run.inputs, "contacts", contacts_path, contacts.db_path);
  if (!messages_path.empty()) add_database_inputs(request.run.inputs, "messages", messages_path, messages.db_path);

  LoadedRecords loaded;
  load_records({contacts.db_path, contacts.bak_path, messages.db_path, messages.bak_path}, loaded);
  // Ctrl-C waits for the load, so the copies of the evidence in the work
  // folder are removed rather than left behind by a killed process.
  if (g_interrupted) return std::fputs("quillfern records: stopped\n", stderr), 130;
  print_counts(loaded);
  return write_reports(loaded, request, work.path()) ? 0 : 1;
}

}  // namespace qf::cli
