// quillfern phone: checks the attached phone through the ADB client, pulls
// its contacts and telephony databases into a private work folder, and writes
// the two reports from them.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "device/device_result.h"
#include "device/pull_thread.h"
#include "records/domain_export.h"
#include "tools/quillfern/commands.h"
#include "tools/quillfern/load_and_report.h"
#include "tools/quillfern/work_folder.h"

namespace qf::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char kUsage[] =
    "usage: quillfern phone [--adb PATH] [--out DIR] [--template PATH] [--keep-work]\n"
    "\n"
    "Checks the phone attached by USB (USB debugging on, rooted), pulls its contacts\n"
    "and messages databases and writes Contacts.html and Messages.html into DIR\n"
    "(default: the current folder), deleted records included.\n"
    "\n"
    "  --adb PATH       the ADB client to run (default: "
#ifdef _WIN32
    "tarnwick-recovery-for-android-adb-help.exe\n"
    "                   beside this program)\n"
#else
    "adb from PATH)\n"
#endif
    "  --template PATH  the report template (default: template.html beside this program)\n"
    "  --keep-work      keep the pulled databases (they hold private data; by default\n"
    "                   the work folder is removed at the end)\n";

struct Options {
  device::AdbClient client;
  std::string out = ".";
  std::string template_path = ReportTemplatePath();
  bool keep_work = false;
};

// Returns 0 when parsed, else the exit code to end with.
int parse(int argc, char** argv, Options& o) {
#ifdef _WIN32
  o.client = device::default_adb_client();
#else
  o.client = device::AdbClient{"adb"};
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool has_value = i + 1 < argc;
    if (a == "--help" || a == "-h") return std::fputs(kUsage, stdout), -1;
    if (a == "--adb" && has_value) o.client.path = argv[++i];
    else if (a == "--out" && has_value) o.out = argv[++i];
    else if (a == "--template" && has_value) o.template_path = argv[++i];
    else if (a == "--keep-work") o.keep_work = true;
    else return std::fprintf(stderr, "quillfern phone: bad argument '%s'\n\n%s", a.c_str(), kUsage), 2;
  }
  return 0;
}

// The device state in words, with what to do about it. Returns the exit code.
int explain(const device::DeviceAnswer& answer, const std::string& client) {
  switch (answer.result) {
    case device::DeviceResult::ready:
      std::printf("device: ready\n");
      return 0;
    case device::DeviceResult::no_device:
      std::printf("device: no device\n");
      std::printf("hint: connect the phone by USB and switch on USB debugging (Settings >\n"
                  "      Developer options). The ADB client used was '%s'; if it is\n"
                  "      missing, nothing can be found (see --adb).\n", client.c_str());
      return 3;
    case device::DeviceResult::unusable:
      std::printf("device: unauthorized or offline\n");
      if (device::lacks_permissions(answer)) {
        std::printf("hint: the ADB server may not open the phone's USB device (\"no permissions\").\n"
                    "      Add a udev rule for the phone's vendor (for example the Debian package\n"
                    "      android-sdk-platform-tools-common), put your user in the plugdev group,\n"
                    "      replug the phone, then run 'adb kill-server' and try again.\n");
      } else {
        std::printf("hint: unlock the phone and accept the \"Allow USB debugging?\" prompt for\n"
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

bool report_arrival(const std::string& path, const char* what) {
  std::error_code ec;
  auto size = fs::file_size(fs::u8path(path), ec);
  if (ec) {
    std::printf("pulled: no %s\n", what);
    return false;
  }
  std::printf("pulled: %s (%llu bytes)\n", what, static_cast<unsigned long long>(size));
  return true;
}

int load_and_export(const device::DatabasePaths& paths, const Options& o) {
  LoadedRecords loaded;
  load_records(paths, loaded);
  print_counts(loaded);
  std::error_code ec;
  fs::create_directories(fs::u8path(o.out), ec);
  return write_reports(loaded, {true, true, o.out, o.template_path, "quillfern phone"}) ? 0 : 1;
}

}  // namespace

int run_phone_command(int argc, char** argv) {
  Options o;
  if (int code = parse(argc, argv, o)) return code < 0 ? 0 : code;

  const device::DeviceAnswer answer = device::query_device(o.client);
  if (int code = explain(answer, o.client.path)) return code;

  WorkFolder work;
  if (!work.make("quillfern-phone-")) {
    std::fputs("quillfern phone: cannot make a work folder in the temporary folder\n", stderr);
    return 1;
  }
  const device::DatabasePaths paths = work_paths(work.path());
  device::pull_phone_databases(o.client, paths);
  bool contacts = report_arrival(paths.contacts_db_path, "contacts2.db");
  bool messages = report_arrival(paths.messages_db_path, "mmssms.db");
  if (!contacts && !messages) {
    std::printf("hint: nothing could be pulled. The phone must be rooted and its su must\n"
                "      allow the ADB shell (grant it on the phone when asked).\n");
  }
  int code = load_and_export(paths, o);
  device::adb_kill_server(o.client);
  if (o.keep_work) {
    work.keep();
    std::printf("work folder kept: %s\n", work.path().u8string().c_str());
  }
  return code;
}

}  // namespace qf::cli
