#include "tools/fixtures/fixture_builder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace qf::fixtures {
namespace {

// Runs a query on a fresh read-only connection and returns the first column
// of every row as text ("NULL" for a null).
std::vector<std::string> query(const std::string& path, const std::string& sql) {
  std::vector<std::string> out;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(stmt, 0);
        out.push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
      }
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return out;
}

bool file_holds(const std::string& path, const std::string& needle) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes.find(needle) != std::string::npos;
}

class FixtureBuilder : public ::testing::Test {
 protected:
  test::TempDir dir_{"qf-fixture"};
  std::string contacts_ = dir_.file("contacts2.db");
  std::string sms_ = dir_.file("mmssms.db");
};

TEST_F(FixtureBuilder, MimetypeIdsFollowThePhonesOrderAndUnknownOnesAreAppended) {
  auto db = ContactsFixture::create(contacts_);
  ASSERT_TRUE(db);
  EXPECT_EQ(db->mimetype_id("email_v2"), 1);
  EXPECT_EQ(db->mimetype_id("vnd.android.cursor.item/name"), 7);
  EXPECT_EQ(db->mimetype_id("postal-address_v2"), 8);
  const std::int64_t custom = db->mimetype_id("vnd.com.example.profile");
  EXPECT_GT(custom, 8);
  EXPECT_EQ(db->mimetype_id("vnd.com.example.profile"), custom);
  ASSERT_TRUE(db->add_contact(9, {{"phone_v2", "555"}, {"vnd.com.example.profile", "p"}}));
  ASSERT_TRUE(db->close());
  EXPECT_EQ(query(contacts_, "SELECT mimetype_id FROM data WHERE raw_contact_id=9 ORDER BY _id"),
            (std::vector<std::string>{"5", std::to_string(custom)}));
  EXPECT_EQ(query(contacts_, "SELECT mimetype FROM mimetypes WHERE _id=5"),
            std::vector<std::string>{"vnd.android.cursor.item/phone_v2"});
}

TEST_F(FixtureBuilder, GenerationsDifferInColumnOrderAndHashId) {
  for (Generation g : {Generation::android4, Generation::android6, Generation::upgraded}) {
    SCOPED_TRACE(static_cast<int>(g));
    FixtureOptions options;
    options.generation = g;
    auto db = ContactsFixture::create(contacts_, options);
    ASSERT_TRUE(db && db->add_contact(1, {{"name", "Old"}}));
    if (g == Generation::upgraded) ASSERT_TRUE(db->upgrade_schema());
    ASSERT_TRUE(db->add_contact(2, {{"name", "New"}}) && db->close());
    const auto columns = query(contacts_, "SELECT name FROM pragma_table_info('data')");
    const auto hash = query(contacts_, "SELECT hash_id FROM data ORDER BY _id");
    switch (g) {
      case Generation::android4:
        EXPECT_EQ(columns.size(), 27u);
        EXPECT_TRUE(hash.empty());  // no such column
        break;
      case Generation::android6:
        EXPECT_EQ(columns.size(), 32u);
        EXPECT_EQ(columns[4], "hash_id");
        EXPECT_EQ(columns.back(), "preferred_phone_account_id");
        ASSERT_EQ(hash.size(), 2u);
        EXPECT_EQ(hash[0].size(), 40u);
        break;
      case Generation::upgraded:
        EXPECT_EQ(columns.size(), 32u);
        EXPECT_EQ(columns[27], "hash_id");
        ASSERT_EQ(hash.size(), 2u);
        EXPECT_EQ(hash[0], "NULL");  // written before the upgrade
        EXPECT_EQ(hash[1].size(), 40u);
        break;
    }
  }
  FixtureOptions options;
  options.generation = Generation::android6;
  auto sms = MessagesFixture::create(sms_, options);
  ASSERT_TRUE(sms && sms->add_message({1, "555", 1, 1, "x"}) != 0 && sms->close());
  const auto columns = query(sms_, "SELECT name FROM pragma_table_info('sms')");
  ASSERT_EQ(columns.size(), 19u);
  EXPECT_EQ(columns[15], "sub_id");
  EXPECT_EQ(columns[17], "creator");
}

TEST_F(FixtureBuilder, PageSizeAndJournalModeAreAsAsked) {
  for (int page : {1024, 4096}) {
    for (bool wal : {false, true}) {
      FixtureOptions options;
      options.page_size = page;
      options.wal = wal;
      auto db = MessagesFixture::create(sms_, options);
      ASSERT_TRUE(db && db->add_message({1, "555", 1, 1, "x"}) != 0 && db->close());
      EXPECT_EQ(query(sms_, "PRAGMA page_size"), std::vector<std::string>{std::to_string(page)});
      EXPECT_EQ(query(sms_, "PRAGMA journal_mode"), std::vector<std::string>{wal ? "wal" : "delete"});
    }
  }
}

TEST_F(FixtureBuilder, DeletedContentStaysUnlessSecureDeleteOrVacuum) {
  struct Case {
    bool secure_delete, vacuum, remains;
  };
  for (const Case c : {Case{false, false, true}, Case{true, false, false}, Case{false, true, false}}) {
    SCOPED_TRACE(c.secure_delete * 2 + c.vacuum);
    FixtureOptions options;
    options.secure_delete = c.secure_delete;
    options.vacuum_after = c.vacuum;
    auto db = MessagesFixture::create(sms_, options);
    ASSERT_TRUE(db);
    const std::int64_t keep = db->add_message({1, "555", 1, 1, "kept body"});
    const std::int64_t gone = db->add_message({1, "555", 2, 2, "Deleted body QX7"});
    ASSERT_TRUE(keep != 0 && gone != 0 && db->delete_message(gone));
    EXPECT_FALSE(db->delete_message(gone));  // no such row any more
    ASSERT_TRUE(db->close());
    EXPECT_EQ(query(sms_, "SELECT body FROM sms"), std::vector<std::string>{"kept body"});
    EXPECT_EQ(file_holds(sms_, "Deleted body QX7"), c.remains);
  }
}

TEST_F(FixtureBuilder, KeptWalHoldsTheDeletionsTheMainFileLacks) {
  FixtureOptions options;
  options.wal = true;
  options.keep_wal = true;
  auto db = ContactsFixture::create(contacts_, options);
  ASSERT_TRUE(db && db->add_contact(1, {{"name", "Ann"}}) && db->add_contact(2, {{"name", "Ben"}}));
  ASSERT_TRUE(db->checkpoint() && db->delete_contact(2) && db->close());
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::u8path(contacts_ + "-wal")));
  const std::string bare = dir_.file("bare.db");
  std::filesystem::copy_file(std::filesystem::u8path(contacts_), std::filesystem::u8path(bare));
  EXPECT_EQ(query(bare, "SELECT data1 FROM data ORDER BY _id"), (std::vector<std::string>{"Ann", "Ben"}));
  EXPECT_EQ(query(contacts_, "SELECT data1 FROM data ORDER BY _id"), std::vector<std::string>{"Ann"});
}

TEST_F(FixtureBuilder, DemoSetHasLiveAndDeletedRecords) {
  ASSERT_TRUE(write_demo_databases(dir_.path().u8string()));
  EXPECT_EQ(query(contacts_, "SELECT count(DISTINCT raw_contact_id) FROM data"), std::vector<std::string>{"4"});
  EXPECT_EQ(query(sms_, "SELECT count(*) FROM sms"), std::vector<std::string>{"6"});
  EXPECT_TRUE(file_holds(contacts_, "Dana Whitfield"));
  EXPECT_TRUE(file_holds(sms_, "The keys are under the mat."));
}

TEST_F(FixtureBuilder, GeneratedRowsFillTheFile) {
  auto db = ContactsFixture::create(contacts_);
  ASSERT_TRUE(db && db->add_generated_contacts(100, 500) && db->close());
  EXPECT_EQ(query(contacts_, "SELECT count(*) FROM raw_contacts"), std::vector<std::string>{"500"});
  EXPECT_GT(std::filesystem::file_size(std::filesystem::u8path(contacts_)), 200u * 1024);
  auto sms = MessagesFixture::create(sms_);
  ASSERT_TRUE(sms && sms->add_generated_messages(300, 7) && sms->close());
  EXPECT_EQ(query(sms_, "SELECT count(DISTINCT thread_id) FROM sms"), std::vector<std::string>{"7"});
}

}  // namespace
}  // namespace qf::fixtures
