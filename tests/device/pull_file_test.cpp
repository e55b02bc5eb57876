// One file's pull: its mode read first, opened for the pull, restored after.
#include "device/pull_file.h"

#include <gtest/gtest.h>

#include "tests/device/sim_phone.h"

namespace qf::device {
namespace {

using test::SimPhone;
using Command = std::vector<std::string>;

const std::string kRemote = "/data/data/com.android.providers.contacts/databases/contacts2.db";

TEST(ModeFromListing, ReadsTheModeColumnOfARegularFile) {
  EXPECT_EQ(mode_from_listing("-rw-rw---- 1 u0_a2 u0_a2 12288 2026-12-01 09:30 /data/x.db\n"),
            "660");
  EXPECT_EQ(mode_from_listing("-rw-rw---- u0_a2    u0_a2      12288 2013-05-01 10:00 x.db\r\n"),
            "660");
  EXPECT_EQ(mode_from_listing("-rw------- 1 root root 1 x"), "600");
  EXPECT_EQ(mode_from_listing("-rwxrwxrwx 1 a b 1 x"), "777");
  EXPECT_EQ(mode_from_listing("-rwsr-x--T 1 a b 1 x"), "5750");
  EXPECT_EQ(mode_from_listing("-rwSr-s--t 1 a b 1 x"), "7651");
  EXPECT_EQ(mode_from_listing("-rw-rw----+ 1 a b 1 x"), "660");
  EXPECT_EQ(mode_from_listing("-rw-rw----. 1 a b 1 x"), "660");
  EXPECT_EQ(mode_from_listing("WARNING: linker: noise\n-rw-r----- 1 a b 1 x\n"), "640");
}

TEST(ModeFromListing, NothingForRefusalsMissingFilesAndOddColumns) {
  for (const char* listing :
       {"", "/system/bin/sh: su: not found\n", "ls: /data/x.db: No such file or directory\n",
        "lrwxrwxrwx 1 a b 1 x -> y", "drwxrwx--x 1 a b 1 x", "-rwxq----- 1 a b 1 x",
        "-rw-rw--- 1 a b", "-rw-rw----x 1 a b 1 x", "-rw-rw-", "permission denied"}) {
    EXPECT_EQ(mode_from_listing(listing), std::nullopt) << listing;
  }
}

// A pull counts only when the client says the file came: a killed or
// timed-out client leaves a file that may be cut short.
TEST(PullConfirmed, OnlyTheClientsOwnSuccessLinesConfirm) {
  const std::pair<const char*, bool> cases[] = {
      {"/data/x.db: 1 file pulled, 0 skipped. 4.2 MB/s (32768 bytes in 0.007s)\n", true},
      {"/data/x.db: 1 file pulled. 3.1 MB/s (32768 bytes in 0.010s)\r\n", true},
      {"1094 KB/s (32768 bytes in 0.029s)\n", true},  // clients before 2016
      {"adb: error: failed to copy '/data/x.db' to 'x.db': remote open failed: Permission denied\n", false},
      {"[ 42%] /data/x.db", false},  // killed mid-transfer
      {"", false},
  };
  for (const auto& [answer, confirmed] : cases) EXPECT_EQ(pull_confirmed(answer), confirmed) << answer;
}

TEST(PullFile, ReadsTheModeOpensPullsAndRestores) {
  SimPhone phone;
  phone.attach("device");
  const char raw[] = "SQLite format 3\0\r\n\r\n\0\x01\xff tail";
  const std::string bytes(raw, sizeof raw - 1);
  phone.put_phone_file(kRemote, bytes);
  phone.set("modes", "640 " + kRemote + "\n");
  test::TempDir local_dir("qf pull here");
  const std::string local = local_dir.file("contacts2.db");

  pull_file(phone.client(), kRemote, local);

  EXPECT_EQ(test::read_file(local), bytes);
  EXPECT_EQ(phone.phone_mode(kRemote), "640");
  const std::vector<Command> expected = {
      {"start-server"}, {"shell", "su", "root", "ls", "-l", kRemote},
      {"start-server"}, {"shell", "su", "root", "chmod", "777", kRemote},
      {"start-server"}, {"pull", kRemote, local},
      {"start-server"}, {"shell", "su", "root", "chmod", "640", kRemote},
  };
  EXPECT_EQ(phone.commands(), expected);
}

TEST(PullFile, FileMissingOnThePhoneIsNotTouched) {
  SimPhone phone;
  phone.attach("device");
  test::TempDir local_dir;
  pull_file(phone.client(), kRemote + "-wal", local_dir.file("contacts2.db-wal"));
  EXPECT_FALSE(test::file_exists(local_dir.file("contacts2.db-wal")));
  for (const Command& c : phone.commands()) EXPECT_NE(c.size() > 3 ? c[3] : "", "chmod");
}

TEST(PullFile, PhoneWithoutRootGivesNothing) {
  SimPhone phone;
  phone.attach("device");
  phone.set("no-root", "");
  phone.put_phone_file(kRemote, "data");
  test::TempDir local_dir;
  pull_file(phone.client(), kRemote, local_dir.file("contacts2.db"));
  EXPECT_FALSE(test::file_exists(local_dir.file("contacts2.db")));
  EXPECT_EQ(phone.phone_mode(kRemote), "660");
}

}  // namespace
}  // namespace qf::device
