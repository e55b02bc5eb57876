// Whole loads of the databases a recovery tool meets on real phones: every
// row deleted, odd page sizes, rows moved by UPDATE, deletions that survive
// only in the -wal or on freelist pages, a damaged page, no room for the
// parser library's copy. Each case writes real databases with SQLite, takes
// the bare backup copy as the pull does, runs the loader and checks that
// every deleted row comes back once, marked deleted, and every live row
// comes back live.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/app_messages.h"
#include "records/morvatch/morvatch.h"
#include "records/record_loader.h"
#include "tests/records/temporary_folder_override.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace qf {
namespace {

using fixtures::ContactsFixture;
using fixtures::FixtureMessage;
using fixtures::FixtureOptions;
using fixtures::Generation;
using fixtures::MessagesFixture;

// Distinct messages "<tag> <i> ..." in three conversations.
std::vector<FixtureMessage> tagged_messages(const std::string& tag, int count, int body_bytes = 60) {
  std::vector<FixtureMessage> out;
  for (int i = 0; i < count; ++i) {
    std::string body = tag + " " + std::to_string(i) + ": ";
    while (body.size() < static_cast<std::size_t>(body_bytes)) body += "the ferry leaves at nine. ";
    out.push_back({1 + i % 3, "+4455501" + std::to_string(i % 3), 1700000000000 + i * 60000, 1 + i % 2, body});
  }
  return out;
}

std::string contact_name(const std::string& tag, int i) { return tag + " Contact " + std::to_string(i); }

struct Phone {
  RecordLoadJob job;
  FixtureOptions options;
  // Share of the deleted rows that must come back: SQLite reuses a few freed
  // pages (as freelist trunks, or when it rebalances neighbours), and their
  // rows are gone for good.
  double must_come_back = 1.0;
  std::vector<std::string> deleted_bodies, live_bodies, deleted_names, live_names;
};

// Writes messages; those whose index `drop` selects are deleted afterwards.
// `between` runs after the inserts and before the deletions.
void write_messages(Phone& phone, const std::vector<FixtureMessage>& messages,
                    const std::function<bool(std::size_t)>& drop,
                    const std::function<void(MessagesFixture&)>& between = {}) {
  auto db = MessagesFixture::create(phone.job.messages_db_path, phone.options);
  ASSERT_TRUE(db);
  std::vector<std::int64_t> ids;
  ASSERT_TRUE(db->begin());
  for (const FixtureMessage& m : messages) ids.push_back(db->add_message(m));
  ASSERT_TRUE(db->commit());
  if (between) between(*db);
  ASSERT_TRUE(db->begin());  // the user deletes them in one go
  for (std::size_t i = 0; i < messages.size(); ++i) {
    (drop(i) ? phone.deleted_bodies : phone.live_bodies).push_back(messages[i].body);
    if (drop(i)) {
      ASSERT_TRUE(db->delete_message(ids[i]));
    }
  }
  ASSERT_TRUE(db->commit());
  ASSERT_TRUE(db->close());
}

void write_contacts(Phone& phone, const std::string& tag, int count, const std::function<bool(int)>& drop,
                    const std::function<void(ContactsFixture&)>& between = {}) {
  auto db = ContactsFixture::create(phone.job.contacts_db_path, phone.options);
  ASSERT_TRUE(db);
  ASSERT_TRUE(db->exec("INSERT INTO sqlite_sequence (name, seq) VALUES ('data', 5000)"));
  for (int i = 1; i <= count; ++i) {
    ASSERT_TRUE(db->add_contact(1000 + i, {{"name", contact_name(tag, i)},
                                           {"phone_v2", "+4470" + std::to_string(5550000 + i)},
                                           {"email_v2", "c" + std::to_string(i) + "@example.org"}}));
  }
  if (between) between(*db);
  ASSERT_TRUE(db->begin());
  for (int i = 1; i <= count; ++i) {
    (drop(i) ? phone.deleted_names : phone.live_names).push_back(contact_name(tag, i));
    if (drop(i)) {
      ASSERT_TRUE(db->delete_contact(1000 + i));
    }
  }
  ASSERT_TRUE(db->commit());
  ASSERT_TRUE(db->close());
}

void all_deleted(Phone& phone, Generation generation) {
  phone.options.generation = generation;
  write_contacts(phone, "Gone", 5, [](int) { return true; });
  write_messages(phone, tagged_messages("gone", 8), [](std::size_t) { return true; });
}

void page_size_case(Phone& phone, int page_size) {
  phone.options.page_size = page_size;
  phone.must_come_back = 0.8;
  write_contacts(phone, "Paged", 24, [](int i) { return i % 4 == 0; });
  write_messages(phone, tagged_messages("paged", 60), [](std::size_t i) { return i % 4 == 0; });
}

// UPDATEs that change the length of live rows make SQLite move them and leave
// the old copy, with the same values, in free space.
void updated_rows(Phone& phone) {
  phone.options.page_size = 512;
  write_contacts(phone, "Kept", 12, [](int) { return false; }, [](ContactsFixture& db) {
    ASSERT_TRUE(db.exec("UPDATE data SET data_version = 100000, data15 = 'synced by the account adapter'"));
  });
  write_messages(phone, tagged_messages("kept", 30), [](std::size_t) { return false; },
                 [](MessagesFixture& db) {
                   ASSERT_TRUE(db.exec("UPDATE sms SET status = 0, service_center = '+447700900123' "
                                       "WHERE _id % 2 = 0"));
                 });
}

// Secure delete zeroes freed rows in the pages, as on Android 9 and later.
// Rows written after the last checkpoint and then deleted survive only in
// the -wal's older frames.
void wal_only(Phone& phone, int body_bytes = 60) {
  phone.options.wal = true;
  phone.options.keep_wal = true;
  phone.options.secure_delete = true;
  write_messages(phone, tagged_messages("walled", 20, body_bytes), [](std::size_t i) { return i >= 8; },
                 [](MessagesFixture& db) {
                   ASSERT_TRUE(db.exec("CREATE TEMP TABLE sms_stash AS SELECT * FROM sms WHERE _id > 8;"
                                       "DELETE FROM sms WHERE _id > 8"));
                   ASSERT_TRUE(db.checkpoint());
                   ASSERT_TRUE(db.exec("INSERT INTO sms SELECT * FROM sms_stash"));
                 });
  write_contacts(phone, "Walled", 6, [](int i) { return i > 3; }, [](ContactsFixture& db) {
    ASSERT_TRUE(db.exec("CREATE TEMP TABLE data_stash AS SELECT * FROM data WHERE raw_contact_id > 1003;"
                        "DELETE FROM data WHERE raw_contact_id > 1003"));
    ASSERT_TRUE(db.checkpoint());
    ASSERT_TRUE(db.exec("INSERT INTO data SELECT * FROM data_stash"));
  });
}

// A journal kept after its commit (journal_mode PERSIST) still holds the
// pages as they were before the deletions; secure delete zeroed the rows in
// the database itself.
void journal_only(Phone& phone, int body_bytes = 60) {
  phone.options.secure_delete = true;
  auto persist = [](auto& db) { ASSERT_TRUE(db.exec("PRAGMA journal_mode=PERSIST")); };
  write_messages(phone, tagged_messages("journalled", 12, body_bytes), [](std::size_t i) { return i % 3 == 0; },
                 [&](MessagesFixture& db) { persist(db); });
  write_contacts(phone, "Journalled", 6, [](int i) { return i % 2 == 0; }, [&](ContactsFixture& db) { persist(db); });
}

// Deleting a run of rows empties whole leaf pages, which go to the freelist
// with their old rows still in them.
void freelist_only(Phone& phone) {
  phone.options.page_size = 1024;
  phone.must_come_back = 0.9;
  write_messages(phone, tagged_messages("listed", 300), [](std::size_t i) { return i >= 60 && i < 240; });
}

// Bodies longer than a page spill to overflow chains. Deleting a message
// sends its chain to the freelist, where the text stays until the pages are
// reused. A dropped table leaves a freelist trunk first: otherwise the first
// freed overflow page would become the trunk and lose its first bytes.
void spilled_bodies(Phone& phone) {
  phone.options.page_size = 1024;
  write_messages(phone, tagged_messages("spilled", 12, 3000), [](std::size_t i) { return i % 2 == 1; },
                 [](MessagesFixture& db) {
                   ASSERT_TRUE(db.exec("CREATE TABLE pad (x); INSERT INTO pad VALUES (zeroblob(3000)); DROP TABLE pad"));
                 });
}

// Live and deleted messages in the whole table.
std::pair<int, int> live_and_deleted(const ConversationTable& table) {
  int live = 0, deleted = 0;
  for (const auto& [key, c] : table) {
    for (const MessageRecord& m : c.messages) (m.deleted ? deleted : live) += 1;
  }
  return {live, deleted};
}

struct RecoveryCase {
  const char* label;
  std::function<void(Phone&)> write;
};

class PhoneRecovery : public ::testing::TestWithParam<RecoveryCase> {
 protected:
  PhoneRecovery() {
    std::filesystem::create_directories(dir_.path() / "contacts" / "bak");
    std::filesystem::create_directories(dir_.path() / "messages" / "bak");
    phone_.job.contacts_db_path = dir_.file("contacts/contacts2.db");
    phone_.job.contacts_bak_path = dir_.file("contacts/bak/contacts2.db");
    phone_.job.messages_db_path = dir_.file("messages/mmssms.db");
    phone_.job.messages_bak_path = dir_.file("messages/bak/mmssms.db");
    phone_.job.contacts = &contacts_;
    phone_.job.conversations = &conversations_;
    phone_.job.contact_list = &contact_list_;
    phone_.job.conversation_list = &conversation_list_;
    phone_.job.sink = &sink_;
  }

  // As the pull does: the backup is the bare main file.
  void take_backups() {
    for (auto [from, to] : {std::pair{phone_.job.contacts_db_path, phone_.job.contacts_bak_path},
                            std::pair{phone_.job.messages_db_path, phone_.job.messages_bak_path}}) {
      if (std::filesystem::exists(std::filesystem::u8path(from))) {
        std::filesystem::copy_file(std::filesystem::u8path(from), std::filesystem::u8path(to));
      }
    }
  }

  // Messages whose body is `body`: how many, and how many of them deleted.
  std::pair<int, int> messages_with(const std::string& body) const {
    int all = 0, deleted = 0;
    for (const auto& [key, c] : conversations_) {
      for (const MessageRecord& m : c.messages) {
        if (m.body != body) continue;
        ++all;
        deleted += m.deleted ? 1 : 0;
      }
    }
    return {all, deleted};
  }

  // Contacts named `name`: live ones and deleted ones.
  std::pair<int, int> contacts_named(const std::string& name) const {
    int live = 0, deleted = 0;
    for (const auto& [key, c] : contacts_) {
      if (c.name != name) continue;
      (c.deleted ? deleted : live) += 1;
    }
    return {live, deleted};
  }

  test::TempDir dir_{"qf-phone-recovery"};
  Phone phone_;
  ContactTable contacts_;
  ConversationTable conversations_;
  ContactList contact_list_;
  ConversationList conversation_list_;
  test::RecordingSink sink_;
};

TEST_P(PhoneRecovery, DeletedRowsComeBackOnceAndLiveRowsStayLive) {
  GetParam().write(phone_);
  take_backups();
  EXPECT_EQ(load_records_thread(phone_.job), 1);
  std::size_t back = 0;
  for (const std::string& body : phone_.deleted_bodies) {
    const auto [all, deleted] = messages_with(body);
    EXPECT_LE(all, 1) << body;
    EXPECT_EQ(deleted, all) << body;
    back += static_cast<std::size_t>(deleted);
  }
  EXPECT_GE(back, static_cast<std::size_t>(phone_.must_come_back * phone_.deleted_bodies.size()));
  for (const std::string& body : phone_.live_bodies) {
    EXPECT_EQ(messages_with(body), std::make_pair(1, 0)) << body;
  }
  for (const auto& [key, c] : conversations_) {
    bool any_live = false;
    for (const MessageRecord& m : c.messages) any_live = any_live || !m.deleted;
    EXPECT_EQ(c.deleted, !any_live) << c.address << " " << c.thread_id;
  }
  back = 0;
  for (const std::string& name : phone_.deleted_names) {
    EXPECT_EQ(contacts_named(name).first, 0) << name;
    back += contacts_named(name).second >= 1 ? 1 : 0;
  }
  EXPECT_GE(back, static_cast<std::size_t>(phone_.must_come_back * phone_.deleted_names.size()));
  for (const std::string& name : phone_.live_names) {
    EXPECT_EQ(contacts_named(name), std::make_pair(1, 0)) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Phones, PhoneRecovery,
    ::testing::Values(RecoveryCase{"AllDeletedAndroid4", [](Phone& p) { all_deleted(p, Generation::android4); }},
                      RecoveryCase{"AllDeletedAndroid6", [](Phone& p) { all_deleted(p, Generation::android6); }},
                      RecoveryCase{"Pages512", [](Phone& p) { page_size_case(p, 512); }},
                      RecoveryCase{"Pages65536", [](Phone& p) { page_size_case(p, 65536); }},
                      RecoveryCase{"UpdatedRowLengths", updated_rows},
                      RecoveryCase{"WalOnly", [](Phone& p) { wal_only(p); }},
                      RecoveryCase{"JournalOnly", [](Phone& p) { journal_only(p); }},
                      // Long bodies whose overflow chains lie only in other
                      // page images of the same side file.
                      RecoveryCase{"WalOnlySpilled",
                                   [](Phone& p) {
                                     p.options.page_size = 1024;
                                     wal_only(p, 3000);
                                   }},
                      RecoveryCase{"JournalOnlySpilled",
                                   [](Phone& p) {
                                     p.options.page_size = 1024;
                                     journal_only(p, 3000);
                                   }},
                      RecoveryCase{"FreelistOnly", freelist_only},
                      RecoveryCase{"SpilledLongBodies", spilled_bodies}),
    [](const ::testing::TestParamInfo<RecoveryCase>& info) { return std::string(info.param.label); });

// The left-most leaf page of the b-tree rooted at `root`, and its cell count.
std::pair<std::uint32_t, int> first_leaf(const std::vector<char>& bytes, std::uint32_t root, std::uint32_t page_size) {
  std::uint32_t page = root;
  for (int depth = 0; depth < 8; ++depth) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + std::size_t{page - 1} * page_size;
    const int cells = p[3] << 8 | p[4];
    if (p[0] == 13) return {page, cells};
    const std::uint32_t cell = static_cast<std::uint32_t>(p[12] << 8 | p[13]);
    page = static_cast<std::uint32_t>(p[cell] << 24 | p[cell + 1] << 16 | p[cell + 2] << 8 | p[cell + 3]);
  }
  return {0, 0};
}

constexpr std::uint32_t kDamagedPageSize = 1024;

// What a garbling did: the live rows SQLite can no longer give, how many of
// them are still whole in the file, and the page all of them lay on (0:
// many pages).
struct Damage {
  int refused = 0;
  int whole = 0;
  std::uint32_t page = 0;
};

void garble(std::vector<char>& bytes, std::uint32_t page, std::uint32_t from, std::uint32_t to) {
  for (std::uint32_t i = from; i < to; ++i) {
    bytes[std::size_t{page - 1} * kDamagedPageSize + i] = static_cast<char>(0xA5 ^ i);
  }
}

// The first leaf page's header, cell pointers and gap, and the first bytes of
// its middle cell: every other cell of it is still whole.
Damage garble_first_leaf(std::vector<char>& bytes, int /*live_rows*/) {
  // The sms table is the first one created: its root is page 2.
  const auto [leaf, cells] = first_leaf(bytes, 2, kDamagedPageSize);
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + std::size_t{leaf - 1} * kDamagedPageSize;
  std::vector<std::uint32_t> offsets;
  for (int i = 0; i < cells; ++i) offsets.push_back(static_cast<std::uint32_t>(p[8 + 2 * i] << 8 | p[9 + 2 * i]));
  std::sort(offsets.begin(), offsets.end());
  const std::uint32_t content_start = static_cast<std::uint32_t>(p[5] << 8 | p[6]);
  const std::uint32_t middle_cell = offsets[offsets.size() / 2];
  garble(bytes, leaf, 0, content_start);
  garble(bytes, leaf, middle_cell, middle_cell + 8);
  return {cells, cells - 1, leaf};
}

// The root page garbled whole: no row lies on it, but SQLite reaches none.
Damage garble_root(std::vector<char>& bytes, int live_rows) {
  garble(bytes, 2, 0, kDamagedPageSize);
  return {live_rows, live_rows, 0};
}

// SQLite refuses a damaged page: its live rows that are still whole come back
// live, read by our own reader, with their page as source; the other pages'
// rows come back as before, none twice, and the warning names what was read.
TEST_F(PhoneRecovery, DamagedPagesCostOnlyTheirUnreadableRecords) {
  phone_.options.page_size = kDamagedPageSize;
  {
    auto db = MessagesFixture::create(phone_.job.messages_db_path, phone_.options);
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->add_generated_messages(5400, 20));
    ASSERT_TRUE(db->exec("DELETE FROM sms WHERE _id % 10 = 0"));
    ASSERT_TRUE(db->close());
  }
  take_backups();
  EXPECT_EQ(load_records_thread(phone_.job), 1);
  const auto [live_before, deleted_before] = live_and_deleted(conversations_);
  ASSERT_GT(deleted_before, 100);
  std::vector<char> pristine;
  {
    std::ifstream in(std::filesystem::u8path(phone_.job.messages_db_path), std::ios::binary);
    pristine.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GE(pristine.size() / kDamagedPageSize, 660u);
  const struct {
    const char* label;
    Damage (*garble)(std::vector<char>&, int);
  } cases[] = {{"first leaf page", garble_first_leaf}, {"root page", garble_root}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<char> bytes = pristine;
    const Damage damage = c.garble(bytes, live_before);
    for (const std::string& path : {phone_.job.messages_db_path, phone_.job.messages_bak_path}) {
      std::ofstream(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc)
          .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    conversations_.clear();
    EXPECT_EQ(load_records_thread(phone_.job), 1);
    const auto [live_after, deleted_after] = live_and_deleted(conversations_);
    EXPECT_EQ(live_after, live_before - damage.refused + damage.whole);
    EXPECT_GE(deleted_after, deleted_before - damage.refused);
    int read_by_us = 0;
    for (const auto& [key, conversation] : conversations_) {
      for (const MessageRecord& m : conversation.messages) {
        if (m.source.kind != SourceKind::damaged_page) continue;
        ++read_by_us;
        EXPECT_EQ(messages_with(m.body), std::make_pair(1, 0)) << m.body;
        EXPECT_EQ(m.source.offset / kDamagedPageSize + 1, m.source.page);
        if (damage.page != 0) {
          EXPECT_EQ(m.source.page, damage.page);
        }
      }
    }
    EXPECT_EQ(read_by_us, damage.whole);
    ASSERT_EQ(phone_.job.warnings.size(), 2u);  // the pulled copy and the backup
    EXPECT_EQ(phone_.job.warnings[0].status, MORVATCH_ROWS_SKIPPED);
    EXPECT_EQ(phone_.job.warnings[0].path, phone_.job.messages_db_path);
    EXPECT_NE(phone_.job.warnings[0].text.find(std::to_string(damage.whole) + " live records"), std::string::npos)
        << phone_.job.warnings[0].text;
  }
}

// The contacts' data table with a garbage root page: every live contact
// still comes back live, once, with every field, read by our own reader.
TEST_F(PhoneRecovery, GarbageRootOfTheContactsTableCostsNoLiveContact) {
  phone_.options.page_size = kDamagedPageSize;
  write_contacts(phone_, "Rooted", 150, [](int) { return false; });
  std::int64_t root = 0;
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(phone_.job.contacts_db_path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = 'data'", -1, &statement,
                                 nullptr),
              SQLITE_OK);
    if (sqlite3_step(statement) == SQLITE_ROW) root = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
  }
  std::vector<char> bytes;
  {
    std::ifstream in(std::filesystem::u8path(phone_.job.contacts_db_path), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GT(root, 1);
  ASSERT_EQ(bytes[static_cast<std::size_t>(root - 1) * kDamagedPageSize], 5);  // an interior page: rows below it
  garble(bytes, static_cast<std::uint32_t>(root), 0, kDamagedPageSize);
  std::ofstream(std::filesystem::u8path(phone_.job.contacts_db_path), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  take_backups();
  EXPECT_EQ(load_records_thread(phone_.job), 1);
  for (const std::string& name : phone_.live_names) EXPECT_EQ(contacts_named(name), std::make_pair(1, 0)) << name;
  const auto live = contacts_.find(-1001);
  ASSERT_NE(live, contacts_.end());
  EXPECT_EQ(live->second.source.kind, SourceKind::damaged_page);
  EXPECT_NE(live->second.phone.find("+44705550001"), std::string::npos) << live->second.phone;
  ASSERT_FALSE(phone_.job.warnings.empty());
  EXPECT_EQ(phone_.job.warnings[0].status, MORVATCH_ROWS_SKIPPED);
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A phone pulled in the middle of a deletion: the database already holds the
// zeroed pages (secure delete) and the -journal beside it the pages as they
// were. Opening the copy with SQLite would roll the journal back; the loader
// must read it as it is and leave both files untouched.
TEST_F(PhoneRecovery, HotJournalIsReadAndNeverRolledBack) {
  phone_.options.page_size = 1024;
  phone_.options.secure_delete = true;
  const std::string phone_db = dir_.file("phone-mmssms.db");
  const std::vector<FixtureMessage> messages = tagged_messages("hot", 40);
  auto db = MessagesFixture::create(phone_db, phone_.options);
  ASSERT_TRUE(db);
  std::vector<std::int64_t> ids;
  ASSERT_TRUE(db->begin());
  for (const FixtureMessage& m : messages) ids.push_back(db->add_message(m));
  ASSERT_TRUE(db->commit());
  ASSERT_TRUE(db->begin());
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const bool drop = i % 4 == 1;
    (drop ? phone_.deleted_bodies : phone_.live_bodies).push_back(messages[i].body);
    if (drop) {
      ASSERT_TRUE(db->delete_message(ids[i]));
    }
  }
  ASSERT_EQ(sqlite3_db_cacheflush(db->handle()), SQLITE_OK);  // the deletions reach the file
  for (const char* side : {"", "-journal"}) {
    std::filesystem::copy_file(std::filesystem::u8path(phone_db + side),
                               std::filesystem::u8path(phone_.job.messages_db_path + side));
  }
  ASSERT_TRUE(db->commit());
  ASSERT_TRUE(db->close());
  take_backups();
  const std::string copy_before = file_bytes(phone_.job.messages_db_path);
  const std::string journal_before = file_bytes(phone_.job.messages_db_path + "-journal");
  ASSERT_FALSE(journal_before.empty());
  EXPECT_EQ(load_records_thread(phone_.job), 1);
  EXPECT_TRUE(file_bytes(phone_.job.messages_db_path) == copy_before) << "the copy was changed";
  EXPECT_TRUE(file_bytes(phone_.job.messages_db_path + "-journal") == journal_before) << "the journal was changed";
  for (const std::string& body : phone_.deleted_bodies) EXPECT_EQ(messages_with(body), std::make_pair(1, 1)) << body;
  for (const std::string& body : phone_.live_bodies) EXPECT_EQ(messages_with(body), std::make_pair(1, 0)) << body;
}

// A temporary folder that takes no copy: the live-record library reads
// nothing, the user is told so for every copy, and the deleted-record scan,
// which needs no copy, still brings its records back.
TEST_F(PhoneRecovery, NoRoomForTheLibrarysCopyIsAWarningAndTheScanStillWorks) {
  all_deleted(phone_, Generation::android6);
  take_backups();
  std::ofstream(dir_.path() / "not-a-folder") << "x";
  {
    test::TemporaryFolderOverride no_temp(dir_.file("not-a-folder"));
    EXPECT_EQ(load_records_thread(phone_.job), 1);
  }
  std::vector<std::string> warned;
  for (const LoadWarning& w : phone_.job.warnings) {
    EXPECT_EQ(w.status, MORVATCH_NO_COPY);
    EXPECT_NE(w.text.find(w.path), std::string::npos);
    warned.push_back(w.path);
  }
  EXPECT_EQ(warned, (std::vector<std::string>{phone_.job.contacts_db_path, phone_.job.contacts_bak_path,
                                              phone_.job.messages_db_path, phone_.job.messages_bak_path}));
  for (const std::string& body : phone_.deleted_bodies) EXPECT_EQ(messages_with(body), std::make_pair(1, 1));
  for (const std::string& name : phone_.deleted_names) EXPECT_GE(contacts_named(name).second, 1);
}

}  // namespace
}  // namespace qf
