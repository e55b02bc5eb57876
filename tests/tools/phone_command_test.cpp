// quillfern phone against the phone simulator: what it says, how it exits,
// what it leaves in the output folder and on the phone, for each kind of
// phone and each way a run can fail.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "device/phone_files.h"
#include "tests/device/sim_phone.h"
#include "tests/support/temp_dir.h"
#include "tests/tools/command_runner.h"
#include "tools/quillfern/commands.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

const std::string kContacts = std::string(device::kContactsRemoteDir) + "contacts2.db";
const std::string kMessages = std::string(device::kMessagesRemoteDir) + "mmssms.db";

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The phone's databases with their side files, the modes the provider gave them.
void put_databases(const test::SimPhone& phone, bool with_messages) {
  test::TempDir made;
  test::write_phone_databases(made.path().u8string());
  for (const char* suffix : {"", "-wal", "-shm"}) {
    if (fs::exists(made.path() / (std::string("contacts2.db") + suffix)))
      phone.put_phone_file(kContacts + suffix, file_bytes(made.path() / (std::string("contacts2.db") + suffix)));
    if (with_messages && fs::exists(made.path() / (std::string("mmssms.db") + suffix)))
      phone.put_phone_file(kMessages + suffix, file_bytes(made.path() / (std::string("mmssms.db") + suffix)));
  }
}

test::CommandResult run_phone(const test::SimPhone& phone, const fs::path& out) {
  return test::run_command(cli::run_phone_command, "phone",
                           {"--adb", phone.client().path, "-o", out.u8string(), "--quiet"});
}

std::vector<std::string> files_in(const fs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) names.push_back(e.path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PhoneCommand, EachPhoneStateGivesItsExitStatusMessageAndFiles) {
  struct Case {
    const char* what;
    const char* state;  // the device line, "" for none
    bool no_root;
    bool messages_on_phone;
    int code;
    const char* said;  // on standard output or error
    std::vector<std::string> written;
  };
  const std::vector<std::string> all = {"Contacts.html", "Messages.html", "contacts.csv", "messages.csv",
                                        "report.json"};
  const std::vector<Case> cases = {
      {"ready", "device", false, true, 0, "device: ready", all},
      {"nothing attached", "", false, true, 3, "device: no device", {}},
      {"not authorised", "unauthorized", false, true, 4, "unauthorized or offline", {}},
      // "device: ready" and then nothing pulled used to end with exit 0.
      {"su refused", "device", true, true, 5, "contacts2.db could not be pulled", {}},
      {"no telephony database", "device", false, false, 5, "mmssms.db could not be pulled",
       {"Contacts.html", "contacts.csv", "report.json"}},
  };
  for (const Case& c : cases) {
    test::SimPhone phone;
    if (*c.state) phone.attach(c.state); else phone.set("devices", "");
    if (c.no_root) phone.set("no-root", "");
    put_databases(phone, c.messages_on_phone);
    test::TempDir out;
    const test::CommandResult r = run_phone(phone, out.path() / "reports");
    EXPECT_EQ(r.code, c.code) << c.what << "\n" << r.out << r.err;
    EXPECT_NE((r.out + r.err).find(c.said), std::string::npos) << c.what << "\n" << r.out << r.err;
    EXPECT_EQ(files_in(out.path() / "reports"), c.written) << c.what;
    // The phone is left as found.
    EXPECT_EQ(phone.phone_mode(kContacts), "660") << c.what;
    EXPECT_EQ(phone.phone_mode(kContacts + "-wal"), "660") << c.what;
  }
}

#ifndef _WIN32
extern "C" void ignore_interrupt(int) {}

// Ctrl-C in the middle of a pull: the file being pulled is finished, its
// mode on the phone put back, nothing more is pulled, no report is written
// and the private copies are removed.
TEST(PhoneCommand, InterruptMidPullRestoresModesAndRemovesTheCopies) {
  test::SimPhone phone;
  phone.attach("device");
  put_databases(phone, true);
  phone.set("slow-pull-ms", "1500");
  test::TempDir temp;
  test::TempDir out;
  const char* old_tmpdir = std::getenv("TMPDIR");
  const std::string saved = old_tmpdir ? old_tmpdir : "";
  setenv("TMPDIR", temp.path().c_str(), 1);
  const auto previous = std::signal(SIGINT, ignore_interrupt);  // a late signal must not end the test
  std::thread interrupter([&] {
    for (int i = 0; i < 1000 && phone.log_text().find("pull") == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::raise(SIGINT);
  });
  const test::CommandResult r = run_phone(phone, out.path());
  interrupter.join();
  std::signal(SIGINT, previous);
  if (old_tmpdir) setenv("TMPDIR", saved.c_str(), 1); else unsetenv("TMPDIR");

  EXPECT_EQ(r.code, 130) << r.out << r.err;
  EXPECT_NE(r.err.find("stopped"), std::string::npos) << r.err;
  EXPECT_EQ(phone.phone_mode(kContacts), "660");
  int pulls = 0;
  for (const auto& command : phone.commands()) pulls += !command.empty() && command[0] == "pull";
  EXPECT_EQ(pulls, 1);
  EXPECT_TRUE(files_in(out.path()).empty());
  EXPECT_TRUE(files_in(temp.path()).empty());  // the work folder is gone
}
#endif

}  // namespace
}  // namespace qf
