// quillfern phone: checks the attached phone through the ADB client, pulls
// its contacts and telephony databases into a private work folder, and writes
// the two reports from them.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "device/device_result.h"
#include "device/pull_thread.h"
#include "records/domain_export.h"
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
    "usage: quillfern phone [--adb PATH] [-o DIR] [--template PATH] [--keep-work]\n"
    "\n"
    "Checks the phone attached by USB (USB debugging on, rooted), pulls its contacts\n"
    "and messages databases and writes Contacts.html, Messages.html, contacts.csv,\n"
    "messages.csv and report.json into DIR (default: the current folder), deleted\n"
    "records included.\n"
    "\n"
    "  --adb PATH         the ADB client to run (default: "
#ifdef _WIN32
    "tarnwick-recovery-for-android-adb-help.exe\n"
    "                     beside this program)\n"
#else
    "adb from PATH)\n"
#endif
    "  -o, --out DIR      folder for the reports (created when missing)\n"
    "  --template PATH    the report template (default: the copy built into the tool)\n"
    "  --keep-work        keep the pulled databases (they hold private data; by default\n"
    "                     the work folder is removed at the end)\n"
    "  -q, --quiet        no hints, only errors and results\n"
    "  --version          the tool's name and version\n"
    "  -h, --help         this text\n"
    "Options also take the form --option=value. Ctrl-C stops after the file being\n"
    "pulled; the phone's files get their modes back either way.\n"
    "\n"
    "Exit status:\n"
    "  0    done: both databases pulled, the reports written\n"
    "  1    a report could not be written\n"
    "  2    bad arguments\n"
    "  3    no device\n"
    "  4    the phone is unauthorized or offline\n"
    "  5    a database could not be pulled (no root, su refused, the client's\n"
    "       answer unreadable); the reports hold only what was pulled\n"
    "  130  stopped by Ctrl-C\n";

const std::vector<OptionSpec> kOptions = {{"--adb", 0, true},      {"--out", 'o', true},
                                          {"--template", 0, true}, {"--keep-work", 0, false},
                                          {"--quiet", 'q', false}};

struct Options {
  device::AdbClient client;
  std::string out = ".";
  std::string template_path;
  bool keep_work = false;
  bool quiet = false;
};

// Returns -1 when parsed, else the exit code to end with.
int parse(int argc, char** argv, Options& o) {
  ParsedArguments parsed;
  const std::string problem = parse_arguments(argc, argv, kOptions, parsed);
  if (parsed.help) return std::fputs(kUsage, stdout), 0;
  if (parsed.version) return print_version(), 0;
  if (!problem.empty()) return usage_error("phone", problem, kUsage);
  if (!parsed.positional.empty()) return usage_error("phone", "unexpected argument '" + parsed.positional[0] + "'", kUsage);
#ifdef _WIN32
  o.client = device::default_adb_client();
#else
  o.client = device::AdbClient{"adb"};
#endif
  o.client.path = parsed.value("--adb", o.client.path);
  o.out = parsed.value("--out", o.out);
  o.template_path = parsed.value("--template");
  o.keep_work = parsed.has("--keep-work");
  o.quiet = parsed.has("--quiet");
  return -1;
}

void hint(const Options& o, const char* text) {
  if (!o.quiet) std::fputs(text, stderr);
}

// The device state in words, with what to do about it. Returns the exit code.
int explain(const device::DeviceAnswer& answer, const Options& o) {
  switch (answer.result) {
    case device::DeviceResult::ready:
      std::printf("device: ready\n");
      return 0;
    case device::DeviceResult::no_device:
      std::printf("device: no device\n");
      if (!o.quiet)
        std::fprintf(stderr, "hint: connect the phone by USB and switch on USB debugging (Settings >\n"
                     "      Developer options). The ADB client used was '%s'; if it is\n"
                     "      missing, nothing can be found (see --adb).\n", o.client.path.c_str());
      return 3;
    case device::DeviceResult::unusable:
      std::printf("device: unauthorized or offline\n");
      if (device::lacks_permissions(answer)) {
        hint(o, "hint: the ADB server may not open the phone's USB device (\"no permissions\").\n"
                    "      Add a udev rule for the phone's vendor (for example the Debian package\n"
                    "      android-sdk-platform-tools-common), put your user in the plugdev group,\n"
                    "      replug the phone, then run 'adb kill-server' and try again.\n");
      } else {
        hint(o, "hint: unlock the phone and accept the \"Allow USB debugging?\" prompt for\n"
                    "      this computer, or replug the cable, then try again.\n");
      }
      return 4;
  }
  return 1;
}

device::DatabasePaths work_paths(const fs::path& work) {
  fs::create_directories(work / "Tarnwick" / "bak");
  fs::create_directories(work / "tarnwick-recovery-for-android" / "bak");
  auto file = [&](const char* relative) { return (work / fs::u8path(relative)).make_preferred().u8string(); };
  return {file("Tarnwick/contacts2.db"), file("Tarnwick/bak/contacts2.db"),
          file("tarnwick-recovery-for-android/mmssms.db"),
          file("tarnwick-recovery-for-android/bak/mmssms.db")};
}

// Whether the pulled database is there and is what it should be; says so.
bool report_arrival(const std::string& path, const char* what, const ExpectedDatabase& expected,
                    const fs::path& work) {
  std::error_code ec;
  const auto size = fs::file_size(fs::u8path(path), ec);
  if (ec) {
    std::fprintf(stderr, "quillfern phone: %s could not be pulled\n", what);
    return false;
  }
  if (const std::string problem = database_problem(path, expected, work / "check"); !problem.empty()) {
    std::fprintf(stderr, "quillfern phone: the pulled %s is unusable: %s\n", what, problem.c_str());
    return false;
  }
  std::printf("pulled: %s (%llu bytes)\n", what, static_cast<unsigned long long>(size));
  return true;
}

// Ctrl-C during a run: the pulled copies hold private data, so the run
// ends in order (the work folder removed) rather than being killed.
int stopped() {
  std::fputs("quillfern phone: stopped; the phone's files have their modes back\n", stderr);
  return 130;
}

int pull_and_report(const Options& o, const fs::path& work) {
  const device::DatabasePaths paths = work_paths(work);
  ReportRequest request{true, true, o.out, o.template_path, "quillfern phone", {"phone", now_text(), {}, {}}};
  // The file being pulled is finished and its mode put back before the
  // pull stops.
  device::pull_phone_databases(o.client, paths, [] { return g_interrupted != 0; });
  if (g_interrupted) return stopped();
  const bool contacts = report_arrival(paths.contacts_db_path, "contacts2.db", kContactsDatabase, work);
  const bool messages = report_arrival(paths.messages_db_path, "mmssms.db", kMessagesDatabase, work);
  if (!contacts && !messages) {
    hint(o, "hint: nothing could be pulled. The phone must be rooted and its su must\n"
            "      allow the ADB shell (grant it on the phone when asked).\n");
    return 5;
  }
  // The hashes are of the files as pulled, before any reader opens them.
  // (mmssms.db may have come from either of its two places on the phone.)
  const std::string contacts_remote = std::string(device::kContactsRemoteDir) + "contacts2.db";
  if (contacts) add_database_inputs(request.run.inputs, "contacts", contacts_remote, paths.contacts_db_path);
  if (messages) add_database_inputs(request.run.inputs, "messages", "mmssms.db", paths.messages_db_path);
  LoadedRecords loaded;
  load_records(paths, loaded);
  if (g_interrupted) return stopped();
  print_counts(loaded);
  std::error_code ec;
  fs::create_directories(fs::u8path(o.out), ec);
  request.contacts = contacts;
  request.messages = messages;
  if (!write_reports(loaded, request, work)) return 1;
  return contacts && messages ? 0 : 5;
}

}  // namespace

int run_phone_command(int argc, char** argv) {
  Options o;
  if (int code = parse(argc, argv, o); code >= 0) return code;

  const device::DeviceAnswer answer = device::query_device(o.client);
  if (int code = explain(answer, o)) return code;

  WorkFolder work;
  if (!work.make("quillfern-phone-")) {
    std::fputs("quillfern phone: cannot make a work folder in the temporary folder\n", stderr);
    return 1;
  }
  InterruptScope interrupt_scope;
  const int code = pull_and_report(o, work.path());
  device::adb_kill_server(o.client);
  if (o.keep_work) {
    work.keep();
    std::printf("work folder kept: %s\n", work.path().u8string().c_str());
  }
  return code;
}

}  // namespace qf::cli
