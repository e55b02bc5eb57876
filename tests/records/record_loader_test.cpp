#include "records/record_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "platform/app_messages.h"
#include "records/date_text.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace qf {
namespace {

using fixtures::ContactsFixture;
using fixtures::FixtureContact;
using fixtures::FixtureMessage;
using fixtures::FixtureOptions;
using fixtures::MessagesFixture;

// Writes a contacts database: every contact is added, then those listed in
// `then_deleted` are deleted again (their rows stay in freed space).
bool write_contacts(const std::string& path, const std::vector<FixtureContact>& contacts,
                    const std::vector<std::int64_t>& then_deleted = {}, const FixtureOptions& options = {}) {
  auto db = ContactsFixture::create(path, options);
  if (!db) return false;
  for (const FixtureContact& c : contacts) {
    if (!db->add_contact(c)) return false;
  }
  if (options.keep_wal && !db->checkpoint()) return false;
  for (std::int64_t id : then_deleted) {
    if (!db->delete_contact(id)) return false;
  }
  return db->close();
}

// Writes a telephony database; messages at the listed indexes are deleted
// after all were added.
bool write_messages(const std::string& path, const std::vector<FixtureMessage>& messages,
                    const std::vector<std::size_t>& then_deleted = {}, const FixtureOptions& options = {}) {
  auto db = MessagesFixture::create(path, options);
  if (!db) return false;
  std::vector<std::int64_t> ids;
  for (const FixtureMessage& m : messages) {
    ids.push_back(db->add_message(m));
    if (ids.back() == 0) return false;
  }
  if (options.keep_wal && !db->checkpoint()) return false;
  for (std::size_t i : then_deleted) {
    if (!db->delete_message(ids[i])) return false;
  }
  return db->close();
}

void copy_bare(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(std::filesystem::u8path(from), std::filesystem::u8path(to),
                             std::filesystem::copy_options::overwrite_existing);
}

class RecordLoader : public ::testing::Test {
 protected:
  RecordLoader() {
    std::filesystem::create_directories(dir_.path() / "contacts" / "bak");
    std::filesystem::create_directories(dir_.path() / "messages" / "bak");
    job_.contacts_db_path = dir_.file("contacts/contacts2.db");
    job_.contacts_bak_path = dir_.file("contacts/bak/contacts2.db");
    job_.messages_db_path = dir_.file("messages/mmssms.db");
    job_.messages_bak_path = dir_.file("messages/bak/mmssms.db");
    job_.contacts = &contacts_;
    job_.conversations = &conversations_;
    job_.contact_list = &contact_list_;
    job_.conversation_list = &conversation_list_;
    job_.sink = &sink_;
  }

  void load() { EXPECT_EQ(load_records_thread(job_), 1); }

  const ConversationRecord* conversation(const std::string& address, std::int64_t thread) const {
    auto it = conversations_.find(ConversationKey{address, thread});
    return it == conversations_.end() ? nullptr : &it->second;
  }

  test::TempDir dir_{"qf-loader"};
  ContactTable contacts_;
  ConversationTable conversations_;
  ContactList contact_list_;
  ConversationList conversation_list_;
  test::RecordingSink sink_;
  RecordLoadJob job_;
};

TEST_F(RecordLoader, ContactInBothCopiesIsLiveAndOnlyInTheBackupIsDeleted) {
  // The backup still has Ben; the pulled file never had him.
  ASSERT_TRUE(write_contacts(job_.contacts_db_path, {{1, {{"name", "Ann"}, {"phone_v2", "555"}}}}));
  ASSERT_TRUE(write_contacts(job_.contacts_bak_path,
                             {{1, {{"name", "Ann"}, {"phone_v2", "555"}, {"phone_v2", "556"}}},
                              {2, {{"name", "Ben"}, {"email_v2", "ben@example.org"}}}}));
  load();
  ASSERT_EQ(contacts_.size(), 3u);
  const ContactRecord& ann = contacts_.at(-1);
  EXPECT_FALSE(ann.deleted);
  EXPECT_EQ(ann.raw_contact_id, 1);
  EXPECT_EQ(ann.name, "Ann");
  // The number only the backup holds was deleted since: it must not read as
  // one of the live contact's numbers, but as a deleted value of hers.
  EXPECT_EQ(ann.phone, "555");
  const ContactRecord& ann_deleted = contacts_.at(1);
  EXPECT_TRUE(ann_deleted.deleted);
  EXPECT_EQ(ann_deleted.phone, "556");
  EXPECT_EQ(ann_deleted.source.file, SourceFile::backup_copy);
  const ContactRecord& ben = contacts_.at(-2);
  EXPECT_TRUE(ben.deleted);
  EXPECT_EQ(ben.email, "ben@example.org");
  // Deleted first in the display list.
  ASSERT_EQ(contact_list_.size(), 3u);
  EXPECT_EQ(contact_list_[2], &ann);
}

// The same deleted rows read by the library from the backup and found freed
// by the scan are one deleted contact, not two.
TEST_F(RecordLoader, LibraryAndScanFindingTheSameDeletedRowsGiveOneRecord) {
  const std::vector<FixtureContact> phone = {{3, {{"name", "Cleo"}}},
                                             {7, {{"name", "Gus Seven"}, {"phone_v2", "+15550107"}}}};
  // Gus was deleted on the phone after the backup's state: his rows are
  // freed in the pulled file and live in the backup.
  ASSERT_TRUE(write_contacts(job_.contacts_db_path, phone, {7}));
  ASSERT_TRUE(write_contacts(job_.contacts_bak_path, phone));
  load();
  ASSERT_TRUE(contacts_.count(-7));
  EXPECT_TRUE(contacts_.at(-7).deleted);  // only the backup's library pass saw it
  EXPECT_EQ(contacts_.at(-7).name, "Gus Seven");
  EXPECT_EQ(contacts_.at(-7).phone, "+15550107");
  EXPECT_FALSE(contacts_.count(7)) << "the scan's copy of the same rows";
  EXPECT_FALSE(contacts_.at(-3).deleted);
  EXPECT_FALSE(contacts_.count(3));  // Cleo's rows were never freed
}

// A -wal holds older images of every table's pages; the freed bytes of
// another table's page are not read as deleted contacts, and a deleted
// contact the library read from the bare backup is not found again in the
// -wal's image of its page.
TEST_F(RecordLoader, WalImagesGiveNoSecondCopiesAndNoOtherTablesRows) {
  FixtureOptions options;
  options.wal = true;
  options.keep_wal = true;
  std::filesystem::create_directories(dir_.path() / "demo");
  ASSERT_TRUE(fixtures::write_demo_databases(dir_.file("demo"), options));
  std::filesystem::copy_file(std::filesystem::u8path(dir_.file("demo/contacts2.db-wal")),
                             std::filesystem::u8path(job_.contacts_db_path + "-wal"));
  copy_bare(dir_.file("demo/contacts2.db"), job_.contacts_db_path);
  copy_bare(job_.contacts_db_path, job_.contacts_bak_path);
  load();
  std::set<std::string> seen;
  std::size_t deleted = 0;
  for (const auto& [key, c] : contacts_) {
    deleted += c.deleted;
    EXPECT_FALSE(c.name.empty() && c.phone.empty()) << "a contact of fragments: " << c.email << " " << c.others;
    EXPECT_TRUE(seen.insert(c.name + "|" + c.phone + "|" + c.email).second) << "twice: " << c.name;
  }
  EXPECT_GT(deleted, 0u);
}

TEST_F(RecordLoader, TheLastContactInKeyOrderNamesAConversation) {
  // Library keys are -raw id: raw 2 (key -2) comes before raw 1 (key -1).
  ASSERT_TRUE(write_contacts(job_.contacts_db_path, {{1, {{"name", "Ann"}, {"phone_v2", "555"}}},
                                                     {2, {{"name", "Ben"}, {"phone_v2", "555"}}},
                                                     {3, {{"phone_v2", "777"}}},
                                                     {4, {{"name", "Dee"}, {"phone_v2", "+1777"}}}}));
  ASSERT_TRUE(write_messages(job_.messages_db_path, {{1, "555", 1700000000000, 1, "hi"},
                                                     {2, "777", 1700000001000, 1, "who?"},
                                                     {3, "+1555", 1700000002000, 1, "prefixed"}}));
  load();
  ASSERT_NE(conversation("555", 1), nullptr);
  EXPECT_EQ(conversation("555", 1)->name, "Ann");
  // A contact without a name names nothing; "+1777" is not "777".
  EXPECT_EQ(conversation("777", 2)->name, "");
  EXPECT_EQ(conversation("+1555", 3)->name, "");
}

TEST_F(RecordLoader, LeadingAndTrailingBarPiecesOfAPhone) {
  // The first value of a field is stored as it stands, bars included.
  ASSERT_TRUE(write_contacts(job_.contacts_db_path,
                             {{1, {{"name", "Lead"}, {"phone_v2", "|555"}}}, {2, {{"name", "Trail"}, {"phone_v2", "888|"}}}}));
  ASSERT_TRUE(write_messages(job_.messages_db_path, {{1, "", 1700000000000, 1, "no number"},
                                                     {2, "555", 1700000001000, 1, "a"},
                                                     {3, "888", 1700000002000, 1, "b"}}));
  load();
  EXPECT_EQ(conversation("", 1)->name, "Lead");
  EXPECT_EQ(conversation("555", 2)->name, "Lead");
  EXPECT_EQ(conversation("888", 3)->name, "Trail");
}

TEST_F(RecordLoader, MessagesMergeAcrossCopiesAndAreSortedByDate) {
  const std::vector<FixtureMessage> phone = {
      {5, "555", 1700000300000, 2, "third"},
      {5, "555", 1700000100000, 1, "first"},
      {5, "555", 1700000200000, 1, "second, deleted later"},
      {6, "556", 1700000400000, 1, "whole conversation deleted"},
  };
  ASSERT_TRUE(write_messages(job_.messages_db_path, phone, {2, 3}));
  ASSERT_TRUE(write_messages(job_.messages_bak_path, phone));
  load();
  const ConversationRecord* c = conversation("555", 5);
  ASSERT_NE(c, nullptr);
  // The scan of the pulled copy, which finds the freed "second" message,
  // creates the conversation; its live messages make it live.
  EXPECT_FALSE(c->deleted);
  ASSERT_EQ(c->messages.size(), 3u);
  EXPECT_EQ(c->messages[0].body, "first");
  EXPECT_EQ(c->messages[1].body, "second, deleted later");
  EXPECT_EQ(c->messages[2].body, "third");
  EXPECT_FALSE(c->messages[0].deleted);
  // Found by the scan first, then by the backup's library pass: listed once,
  // still deleted.
  EXPECT_TRUE(c->messages[1].deleted);
  EXPECT_EQ(c->messages[1].date_text, DateTextFromMillis(1700000200000));
  const ConversationRecord* gone = conversation("556", 6);
  ASSERT_NE(gone, nullptr);
  EXPECT_TRUE(gone->deleted);
  ASSERT_EQ(gone->messages.size(), 1u);
  EXPECT_TRUE(gone->messages[0].deleted);
  ASSERT_EQ(conversation_list_.size(), 2u);
  EXPECT_EQ(conversation_list_[0], gone);  // deleted first
}

TEST_F(RecordLoader, WalDeletionsAreReportedByThePulledCopyAndTheBareBackup) {
  FixtureOptions wal;
  wal.wal = true;
  wal.keep_wal = true;
  ASSERT_TRUE(write_contacts(job_.contacts_db_path,
                             {{1, {{"name", "Ann"}, {"phone_v2", "555"}}}, {2, {{"name", "Ben"}, {"phone_v2", "556"}}}},
                             {2}, wal));
  ASSERT_TRUE(write_messages(job_.messages_db_path,
                             {{1, "555", 1700000000000, 1, "kept"}, {1, "555", 1700000060000, 2, "deleted in wal"}}, {1},
                             wal));
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::u8path(job_.contacts_db_path + "-wal")));
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::u8path(job_.messages_db_path + "-wal")));
  // As the pull does: the backup is the bare main file, taken before any
  // connection opened the pulled copy.
  copy_bare(job_.contacts_db_path, job_.contacts_bak_path);
  copy_bare(job_.messages_db_path, job_.messages_bak_path);
  load();
  EXPECT_FALSE(contacts_.at(-1).deleted);
  ASSERT_TRUE(contacts_.count(-2));
  EXPECT_TRUE(contacts_.at(-2).deleted);
  EXPECT_EQ(contacts_.at(-2).name, "Ben");
  const ConversationRecord* c = conversation("555", 1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->name, "Ann");
  ASSERT_EQ(c->messages.size(), 2u);
  EXPECT_FALSE(c->messages[0].deleted);
  EXPECT_EQ(c->messages[1].body, "deleted in wal");
  EXPECT_TRUE(c->messages[1].deleted);
}

TEST_F(RecordLoader, MissingDatabasesStillEndWithEightStepsAndRecordsLoaded) {
  // Run as the program does, on a thread of its own.
  std::thread worker([this] { load_records_thread(job_); });
  ASSERT_TRUE(sink_.wait_for(WM_RECORDS_LOADED));
  worker.join();
  EXPECT_TRUE(contacts_.empty());
  EXPECT_TRUE(conversations_.empty());
  EXPECT_TRUE(contact_list_.empty());
  EXPECT_TRUE(conversation_list_.empty());
  const auto posted = sink_.messages();
  ASSERT_EQ(posted.size(), 9u);
  std::vector<unsigned> percent;
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(posted[i].message, WM_LOAD_PROGRESS);
    EXPECT_EQ(posted[i].wparam, i + 1);
    EXPECT_EQ(posted[i].lparam, 8);
    percent.push_back(static_cast<unsigned>(posted[i].wparam * 100 / static_cast<std::uintptr_t>(posted[i].lparam)));
  }
  EXPECT_EQ(percent, (std::vector<unsigned>{12, 25, 37, 50, 62, 75, 87, 100}));
  EXPECT_EQ(posted[8].message, WM_RECORDS_LOADED);
  EXPECT_EQ(posted[8].wparam, 0u);
  EXPECT_EQ(posted[8].lparam, 0);
}

// Ctrl-C during a load: the load ends at its next check (it is asked inside
// the scans too, not only between steps), keeps what it read and still says
// it has loaded, so the command can clean up and stop.
TEST_F(RecordLoader, StopAskedMidLoadEndsItAtTheNextCheck) {
  std::vector<FixtureMessage> phone;
  for (int i = 0; i < 200; ++i) phone.push_back({1, "555", 1700000000000 + i * 1000, 1, "message " + std::to_string(i)});
  std::vector<std::size_t> deleted;
  for (std::size_t i = 0; i < phone.size(); i += 4) deleted.push_back(i);
  FixtureOptions small_pages;
  small_pages.page_size = 1024;
  ASSERT_TRUE(write_messages(job_.messages_db_path, phone, deleted, small_pages));
  copy_bare(job_.messages_db_path, job_.messages_bak_path);
  int asked = 0;
  job_.stop_requested = [&] {
    ++asked;
    return !sink_.messages(WM_LOAD_PROGRESS).empty() && sink_.messages(WM_LOAD_PROGRESS).back().wparam == 5;
  };
  load();
  const auto progress = sink_.messages(WM_LOAD_PROGRESS);
  ASSERT_EQ(progress.size(), 5u);
  EXPECT_EQ(sink_.messages().back().message, WM_RECORDS_LOADED);
  EXPECT_GT(asked, kLoadSteps);  // the scans asked between their regions
  const ConversationRecord* c = conversation("555", 1);
  ASSERT_NE(c, nullptr);
  // Only the pulled copy's scan ran: its deleted messages, no live one.
  EXPECT_EQ(c->messages.size(), deleted.size());
  for (const MessageRecord& m : c->messages) EXPECT_TRUE(m.deleted) << m.body;
}

TEST_F(RecordLoader, EmptyDatabasesGiveEmptyListsToo) {
  ASSERT_TRUE(write_contacts(job_.contacts_db_path, {}));
  ASSERT_TRUE(write_messages(job_.messages_db_path, {}));
  copy_bare(job_.contacts_db_path, job_.contacts_bak_path);
  copy_bare(job_.messages_db_path, job_.messages_bak_path);
  load();
  EXPECT_TRUE(contact_list_.empty());
  EXPECT_TRUE(conversation_list_.empty());
  EXPECT_EQ(sink_.messages(WM_LOAD_PROGRESS).size(), 8u);
  EXPECT_EQ(sink_.messages(WM_RECORDS_LOADED).size(), 1u);
}

}  // namespace
}  // namespace qf
