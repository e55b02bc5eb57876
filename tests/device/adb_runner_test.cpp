// The runner against the phone simulator: bounds, kills, whole output in the
// order written, and arguments that arrive whole.
#include "device/adb_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/device/sim_phone.h"

namespace qf::device {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::SimPhone;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

const std::string kServerNotice =
    "* daemon not running; starting now at tcp:5037\n* daemon started successfully\n";
const std::string kOneDevice = "List of devices attached\n0123456789ABCDEF\tdevice\n\n";

TEST(AdbRunner, MissingClientReturnsEmptyAtOnce) {
  test::TempDir dir;
  AdbClient client{dir.file("no such client.exe")};
  auto start = Clock::now();
  EXPECT_EQ(adb_command(client, {"devices"}), "");
  adb_kill_server(client);
  EXPECT_LT(seconds_since(start), 1.0);
}

TEST(AdbRunner, ClientPathIsBesideTheProgram) {
  std::string path = adb_client_path();
  std::string name = kAdbClientFileName;
  ASSERT_GT(path.size(), name.size() + 1);
  EXPECT_EQ(path.substr(path.size() - name.size()), name);
  std::string dir = path.substr(0, path.size() - name.size() - 1);
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(dir))) << dir;
  EXPECT_EQ(default_adb_client().path, path);
  EXPECT_EQ(default_adb_client().capture_bound, kCaptureBound);
}

TEST(AdbRunner, StartsTheServerBeforeEveryCommandAndStopsItOnRequest) {
  SimPhone phone;
  phone.attach("device");
  // The server notice goes to the uncaptured start-server run.
  EXPECT_EQ(adb_command(phone.client(), {"devices"}), kOneDevice);
  adb_kill_server(phone.client());
  auto log = phone.commands();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], std::vector<std::string>{"start-server"});
  EXPECT_EQ(log[1], std::vector<std::string>{"devices"});
  EXPECT_EQ(log[2], std::vector<std::string>{"kill-server"});
}

TEST(AdbRunner, StandardErrorAndOutputInterleaveInOrder) {
  SimPhone phone;
  phone.attach("device");
  // A server start notice (standard error) before the list (standard output).
  EXPECT_EQ(run_and_capture({SimPhone::program(), "devices"}), kServerNotice + kOneDevice);
  phone.set("interleave", "6");
  EXPECT_EQ(run_and_capture({SimPhone::program(), "devices"}),
            "err 0\nout 1\nerr 2\nout 3\nerr 4\nout 5\n" + kOneDevice);
}

TEST(AdbRunner, FloodingClientReturnsItsWholeOutput) {
  SimPhone phone;
  phone.attach("device");
  phone.set("server-running", "");
  const std::size_t flood = 3 * 1024 * 1024;  // far more than any pipe holds
  phone.set("flood", std::to_string(flood));
  auto start = Clock::now();
  std::string out = run_and_capture({SimPhone::program(), "devices"}, 8000ms);
  EXPECT_LT(seconds_since(start), 7.5) << "the client was blocked until the bound";
  ASSERT_EQ(out.size(), flood + kOneDevice.size());
  EXPECT_EQ(out.substr(0, 6), "flood ");
  EXPECT_EQ(out.substr(flood), kOneDevice);
}

TEST(AdbRunner, HangingClientCostsItsBoundIsKilledAndReturnsWhatItWrote) {
  SimPhone phone;
  phone.set("hang", "4");
  auto start = Clock::now();
  std::string out = run_and_capture({SimPhone::program(), "devices"}, 1500ms);
  double took = seconds_since(start);
  EXPECT_GE(took, 1.45);
  EXPECT_LT(took, 3.5);
  EXPECT_EQ(out, "* daemon not running; starting now at tcp:5037\n");
  // Had it not been killed, it would log its waking after 4 s.
  std::this_thread::sleep_for(std::chrono::duration<double>(4.8 - seconds_since(start)));
  EXPECT_EQ(phone.log_text().find("woke"), std::string::npos) << phone.log_text();
}

TEST(AdbRunner, HangingClientCostsBothBoundsOfACommand) {
  SimPhone phone;
  phone.set("hang", "20");
  auto start = Clock::now();
  EXPECT_EQ(adb_command(phone.client(800ms, 1200ms), {"devices"}),
            "* daemon not running; starting now at tcp:5037\n");
  double took = seconds_since(start);
  EXPECT_GE(took, 1.95);
  EXPECT_LT(took, 5.0);
  EXPECT_EQ(phone.commands().size(), 2u);
}

TEST(AdbRunner, RealCaptureBoundIsTenSeconds) {
  SimPhone phone;
  phone.set("hang", "30");
  auto start = Clock::now();
  run_and_capture({SimPhone::program(), "devices"});
  double took = seconds_since(start);
  EXPECT_GE(took, 9.95);
  EXPECT_LT(took, 14.0);
}

TEST(AdbRunner, EveryArgumentArrivesWhole) {
  SimPhone phone;
  phone.attach("device");
  const std::vector<std::string> awkward = {
      "shell", "su", "root", "ls", "-l", "two words", "quote\"inside", "",
      "trailing\\", "C:\\dir with space\\", "back\\\\slashes \\\"quoted\\\"", "tab\tin"};
  adb_command(phone.client(), awkward);
  auto log = phone.commands();
  ASSERT_EQ(log.size(), 2u);
  // The log joins arguments with tabs, so the one holding a tab reads as two.
  std::vector<std::string> expected(awkward.begin(), awkward.end() - 1);
  expected.push_back("tab");
  expected.push_back("in");
  EXPECT_EQ(log[1], expected);
}

}  // namespace
}  // namespace qf::device
