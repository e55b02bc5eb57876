// The whole device run against simulated phones: what lands where, what the
// window is told, and what stays unchanged on the phone.
#include "device/pull_thread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/app_messages.h"
#include "tests/device/sim_phone.h"
#include "tests/support/recording_sink.h"

namespace qf::device {
namespace {

using test::file_exists;
using test::read_file;
using test::SimPhone;

const std::string kContacts = "/data/data/com.android.providers.contacts/databases/contacts2.db";
const std::string kMessages = "/data/data/com.android.providers.telephony/databases/mmssms.db";
const std::string kMessagesUserDe =
    "/data/user_de/0/com.android.providers.telephony/databases/mmssms.db";

// Work folders as the workspace lays them out, under a path with spaces.
struct WorkFolders {
  test::TempDir temp{"qf user name"};
  DatabasePaths paths;
  WorkFolders() {
    namespace fs = std::filesystem;
    fs::create_directories(temp.path() / "Tarnwick" / "bak");
    fs::create_directories(temp.path() / "tarnwick-recovery-for-android" / "bak");
    paths.contacts_db_path = temp.file("Tarnwick/contacts2.db");
    paths.contacts_bak_path = temp.file("Tarnwick/bak/contacts2.db");
    paths.messages_db_path = temp.file("tarnwick-recovery-for-android/mmssms.db");
    paths.messages_bak_path = temp.file("tarnwick-recovery-for-android/bak/mmssms.db");
  }
};

// Distinct bytes per file, with the CR LF and NUL bytes a text-mode copy would spoil.
std::string content_of(const std::string& remote) { return std::string("\0\r\n", 3) + remote; }

void put_database(const SimPhone& phone, const std::string& remote) {
  for (const char* suffix : {"", "-shm", "-wal", "-journal"}) {
    phone.put_phone_file(remote + suffix, content_of(remote + suffix));
  }
}

std::uintptr_t run_pull(const SimPhone& phone, const DatabasePaths& paths) {
  test::RecordingSink sink;
  EXPECT_EQ(pull_thread(sink, phone.client(), paths), 1);
  auto posted = sink.messages();
  EXPECT_EQ(posted.size(), 1u);
  EXPECT_EQ(sink.messages(WM_PULL_DONE).size(), 1u);
  return posted.empty() ? 99 : posted[0].wparam;
}

std::size_t count_pulls(const SimPhone& phone) {
  std::size_t pulls = 0;
  for (const auto& c : phone.commands()) pulls += c[0] == "pull";
  return pulls;
}

TEST(PullThread, ReadyPhoneGivesBothDatabasesWithTheirSideFilesTwoBackupsAndResultOne) {
  SimPhone phone;
  phone.attach("device");
  put_database(phone, kContacts);
  put_database(phone, kMessages);
  WorkFolders work;

  EXPECT_EQ(run_pull(phone, work.paths), 1u);

  const DatabasePaths& p = work.paths;
  for (const char* suffix : {"", "-shm", "-wal", "-journal"}) {
    EXPECT_EQ(read_file(p.contacts_db_path + suffix), content_of(kContacts + suffix));
    EXPECT_EQ(read_file(p.messages_db_path + suffix), content_of(kMessages + suffix));
    // Every file has its own mode back.
    EXPECT_EQ(phone.phone_mode(kContacts + suffix), "660");
    EXPECT_EQ(phone.phone_mode(kMessages + suffix), "660");
  }
  EXPECT_EQ(read_file(p.contacts_bak_path), content_of(kContacts));
  EXPECT_EQ(read_file(p.messages_bak_path), content_of(kMessages));
  EXPECT_EQ(count_pulls(phone), 8u) << "no device-protected fallback when mmssms.db arrived";
}

TEST(PullThread, NewerPhoneKeepsMessagesInDeviceProtectedStorage) {
  SimPhone phone;
  phone.attach("device");
  put_database(phone, kContacts);
  put_database(phone, kMessagesUserDe);
  WorkFolders work;

  EXPECT_EQ(run_pull(phone, work.paths), 1u);

  for (const char* suffix : {"", "-shm", "-wal", "-journal"}) {
    EXPECT_EQ(read_file(work.paths.messages_db_path + suffix), content_of(kMessagesUserDe + suffix));
    EXPECT_EQ(phone.phone_mode(kMessagesUserDe + suffix), "660");
  }
  EXPECT_EQ(read_file(work.paths.messages_bak_path), content_of(kMessagesUserDe));
  EXPECT_EQ(read_file(work.paths.contacts_bak_path), content_of(kContacts));
}

TEST(PullThread, PhoneWithoutRootReportsReadyAndPullsNothing) {
  SimPhone phone;
  phone.attach("device");
  phone.set("no-root", "");
  put_database(phone, kContacts);
  put_database(phone, kMessages);
  WorkFolders work;

  EXPECT_EQ(run_pull(phone, work.paths), 1u);
  for (const std::string& f : local_database_files(work.paths)) EXPECT_FALSE(file_exists(f)) << f;
}

TEST(PullThread, NoDeviceAndUnauthorizedPullNothing) {
  struct Case {
    const char* devices;
    std::uintptr_t result;
  } cases[] = {{"", 0}, {"0123456789ABCDEF\tunauthorized\n", 2}, {"A1\toffline\nB2\tdevice\n", 2}};
  for (const Case& c : cases) {
    SimPhone phone;
    phone.set("devices", c.devices);
    put_database(phone, kContacts);
    WorkFolders work;
    EXPECT_EQ(run_pull(phone, work.paths), c.result) << c.devices;
    EXPECT_EQ(count_pulls(phone), 0u);
    EXPECT_FALSE(file_exists(work.paths.contacts_db_path));
  }
}

TEST(PullThread, MissingClientReportsNoDevice) {
  WorkFolders work;
  test::RecordingSink sink;
  pull_thread(sink, AdbClient{work.temp.file("absent.exe")}, work.paths);
  ASSERT_EQ(sink.messages(WM_PULL_DONE).size(), 1u);
  EXPECT_EQ(sink.messages(WM_PULL_DONE)[0].wparam, 0u);
  EXPECT_EQ(sink.messages(WM_PULL_DONE)[0].lparam, 0);
}

TEST(PullThread, NoEarlierRunsFileSurvivesBesideANewPull) {
  SimPhone phone;
  phone.attach("device");
  phone.put_phone_file(kContacts, "new contacts");  // no side files on this phone
  WorkFolders work;
  for (const std::string& f : local_database_files(work.paths)) std::ofstream(std::filesystem::u8path(f)) << "old";

  EXPECT_EQ(run_pull(phone, work.paths), 1u);

  EXPECT_EQ(read_file(work.paths.contacts_db_path), "new contacts");
  EXPECT_EQ(read_file(work.paths.contacts_bak_path), "new contacts");
  // An old -wal beside the new database would be replayed into it.
  EXPECT_FALSE(file_exists(work.paths.contacts_db_path + "-wal"));
  EXPECT_FALSE(file_exists(work.paths.contacts_db_path + "-shm"));
  EXPECT_FALSE(file_exists(work.paths.messages_db_path));
  EXPECT_FALSE(file_exists(work.paths.messages_bak_path));
}

}  // namespace
}  // namespace qf::device
