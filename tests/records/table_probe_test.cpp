#include "records/table_probe.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace qf {
namespace {

using fixtures::ContactsFixture;
using fixtures::FixtureOptions;
using fixtures::Generation;
using fixtures::MessagesFixture;

// Position of a column as SQLite's own table_info reports it, -1 if absent.
int column_position(const std::string& path, const char* table, const char* column) {
  sqlite3* db = nullptr;
  int position = -1;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = std::string("SELECT cid FROM pragma_table_info('") + table + "') WHERE name=?";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
      sqlite3_bind_text(stmt, 1, column, -1, SQLITE_STATIC);
      if (sqlite3_step(stmt) == SQLITE_ROW) position = sqlite3_column_int(stmt, 0);
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return position;
}

int column_total(const std::string& path, const char* table) {
  sqlite3* db = nullptr;
  int count = 0;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = std::string("SELECT count(*) FROM pragma_table_info('") + table + "')";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
      count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return count;
}

bool write_contacts(const std::string& path, Generation generation, bool with_rows = true) {
  FixtureOptions options;
  options.generation = generation;
  auto db = ContactsFixture::create(path, options);
  if (!db) return false;
  if (with_rows && !db->add_contact(1, {{"name", "Ann"}, {"phone_v2", "555"}})) return false;
  if (generation == Generation::upgraded && !db->upgrade_schema()) return false;
  if (with_rows && !db->add_contact(2, {{"name", "Ben"}})) return false;
  return db->close();
}

bool write_messages(const std::string& path, Generation generation) {
  FixtureOptions options;
  options.generation = generation;
  auto db = MessagesFixture::create(path, options);
  if (!db || db->add_message({3, "555", 1700000000000, 1, "hello"}) == 0) return false;
  return db->close();
}

void copy_file(const std::string& from, const std::string& to) {
  // Remove first: mingw's libstdc++ refuses overwrite_existing with "File exists".
  std::filesystem::remove(std::filesystem::u8path(to));
  std::filesystem::copy_file(std::filesystem::u8path(from), std::filesystem::u8path(to));
}

class TableProbe : public ::testing::Test {
 protected:
  test::TempDir dir_{"qf-probe"};
};

TEST_F(TableProbe, ContactColumnsAreFoundByNameInEveryGeneration) {
  for (Generation g : {Generation::android4, Generation::android6, Generation::upgraded}) {
    SCOPED_TRACE(static_cast<int>(g));
    const std::string path = dir_.file("contacts2.db");
    ASSERT_TRUE(write_contacts(path, g));
    const int raw_id = column_position(path, "data", "raw_contact_id");
    const int data1 = column_position(path, "data", "data1");
    const int hash_id = column_position(path, "data", "hash_id");
    TableLayout layout;
    layout.data1_column = 99;  // must be reset by the probe
    ASSERT_TRUE(ProbeContactsTable(path, layout));
    EXPECT_EQ(layout.raw_contact_id_column, raw_id);
    EXPECT_EQ(layout.data1_column, data1);
    EXPECT_EQ(layout.column_count, column_total(path, "data"));
    EXPECT_GT(layout.root_page, 1);
    ASSERT_EQ(layout.text_columns.size(), static_cast<std::size_t>(layout.column_count));
    EXPECT_TRUE(layout.is_text_column(data1));
    EXPECT_FALSE(layout.is_text_column(raw_id));
    EXPECT_FALSE(layout.is_text_column(layout.column_count));
    if (g == Generation::android4) {
      EXPECT_EQ(raw_id, 3);
      EXPECT_EQ(data1, 8);
      EXPECT_EQ(hash_id, -1);
    } else {
      ASSERT_GE(hash_id, 0);
      EXPECT_TRUE(layout.is_text_column(hash_id));
      // A recent phone keeps hash_id before data1; an upgraded one appended it.
      EXPECT_EQ(hash_id < data1, g == Generation::android6);
    }
  }
}

TEST_F(TableProbe, SmsColumnsAreFoundByNameInEveryGeneration) {
  for (Generation g : {Generation::android4, Generation::android6}) {
    SCOPED_TRACE(static_cast<int>(g));
    const std::string path = dir_.file("mmssms.db");
    ASSERT_TRUE(write_messages(path, g));
    TableLayout layout;
    ASSERT_TRUE(ProbeSmsTable(path, layout));
    EXPECT_EQ(layout.column_count, column_total(path, "sms"));
    EXPECT_EQ(layout.address_column, column_position(path, "sms", "address"));
    EXPECT_EQ(layout.body_column, column_position(path, "sms", "body"));
    EXPECT_EQ(layout.thread_id_column, column_position(path, "sms", "thread_id"));
    EXPECT_EQ(layout.date_column, column_position(path, "sms", "date"));
    EXPECT_EQ(layout.type_column, column_position(path, "sms", "type"));
    EXPECT_GT(layout.root_page, 1);
    EXPECT_TRUE(layout.is_text_column(layout.body_column));
    EXPECT_FALSE(layout.is_text_column(layout.date_column));
  }
}

TEST_F(TableProbe, ATableWhoseRowsWereAllDeletedIsProbedFromItsSchema) {
  const std::string full = dir_.file("full/contacts2.db");
  const std::string emptied = dir_.file("emptied/contacts2.db");
  std::filesystem::create_directories(dir_.path() / "full");
  std::filesystem::create_directories(dir_.path() / "emptied");
  ASSERT_TRUE(write_contacts(full, Generation::android6));
  auto db = ContactsFixture::create(emptied);
  ASSERT_TRUE(db && db->add_contact(1, {{"name", "Ann"}}) && db->delete_contact(1) && db->close());
  TableLayout with_rows, without_rows;
  ASSERT_TRUE(ProbeContactsTable(full, with_rows));
  ASSERT_TRUE(ProbeContactsTable(emptied, without_rows));
  EXPECT_EQ(without_rows.column_count, with_rows.column_count);
  EXPECT_EQ(without_rows.raw_contact_id_column, with_rows.raw_contact_id_column);
  EXPECT_EQ(without_rows.data1_column, with_rows.data1_column);
  EXPECT_EQ(without_rows.text_columns, with_rows.text_columns);
  EXPECT_GT(without_rows.root_page, 1);
}

TEST_F(TableProbe, OnlyPathsHoldingTheDatabaseNameAreProbed) {
  const std::string real = dir_.file("contacts2.db");
  ASSERT_TRUE(write_contacts(real, Generation::android6));
  TableLayout layout;
  // Each name in a folder of its own: on Windows "Contacts2.db" would be the
  // very file "contacts2.db", since its file system folds case.
  int n = 0;
  for (const char* name : {"contacts.db", "Contacts2.db", "contacts2.sqlite"}) {
    SCOPED_TRACE(name);
    const std::string folder = "other" + std::to_string(n++);
    std::filesystem::create_directories(dir_.path() / folder);
    const std::string path = dir_.file(folder + "/" + name);
    copy_file(real, path);
    EXPECT_FALSE(ProbeContactsTable(path, layout));
  }
  // The backup copy lives in a sub-folder; a name inside a folder name counts too.
  for (const char* folder : {"bak", "contacts2.db-copies"}) {
    SCOPED_TRACE(folder);
    std::filesystem::create_directories(dir_.path() / folder);
    const std::string copy = dir_.file(std::string(folder) + "/copy.db");
    copy_file(real, dir_.file(std::string(folder) + "/contacts2.db"));
    EXPECT_TRUE(ProbeContactsTable(dir_.file(std::string(folder) + "/contacts2.db"), layout));
    copy_file(real, copy);
    EXPECT_EQ(ProbeContactsTable(copy, layout), std::string(folder) == "contacts2.db-copies");
  }

  const std::string sms = dir_.file("mmssms.db");
  ASSERT_TRUE(write_messages(sms, Generation::android6));
  copy_file(sms, dir_.file("telephony.db"));
  EXPECT_TRUE(ProbeSmsTable(sms, layout));
  EXPECT_FALSE(ProbeSmsTable(dir_.file("telephony.db"), layout));
  EXPECT_EQ(layout.column_count, 0);
  // The contacts probe does not accept a telephony database, nor the reverse.
  EXPECT_FALSE(ProbeSmsTable(real, layout));
  copy_file(sms, dir_.file("contacts2.db"));
  EXPECT_FALSE(ProbeContactsTable(dir_.file("contacts2.db"), layout));
}

TEST_F(TableProbe, AMissingFileIsNotCreated) {
  const std::string path = dir_.file("contacts2.db");
  TableLayout layout;
  EXPECT_FALSE(ProbeContactsTable(path, layout));
  EXPECT_FALSE(ProbeSmsTable(dir_.file("mmssms.db"), layout));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "contacts2.db"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "mmssms.db"));
  // A folder of that name is no database file either.
  std::filesystem::create_directories(dir_.path() / "contacts2.db");
  EXPECT_FALSE(ProbeContactsTable(path, layout));
}

TEST_F(TableProbe, FilesThatAreNoDatabaseGiveFalse) {
  const std::string path = dir_.file("contacts2.db");
  for (const std::string& content :
       {std::string(), std::string("not a database, just text\n"), std::string("SQLite format 3") + '\0' +
                                                                       std::string(200, '\xFF')}) {
    SCOPED_TRACE(content.size());
    { std::ofstream(std::filesystem::u8path(path), std::ios::binary) << content; }
    TableLayout layout;
    EXPECT_FALSE(ProbeContactsTable(path, layout));
    EXPECT_EQ(layout.column_count, 0);
  }
}

TEST_F(TableProbe, ACaseDifferingColumnNameIsNotMatched) {
  const std::string path = dir_.file("contacts2.db");
  auto db = ContactsFixture::create(path);
  ASSERT_TRUE(db);
  // SQLite itself treats column names case-insensitively, so the table can
  // hold only one spelling; the probe must still not take "Data1" for data1.
  ASSERT_TRUE(db->exec("DROP VIEW view_data; DROP TABLE data;"
                       "CREATE TABLE data (_id INTEGER PRIMARY KEY, mimetype_id INTEGER, Data1 TEXT,"
                       " raw_contact_id INTEGER, data1x TEXT);"
                       "INSERT INTO data VALUES (1, 7, 'Ann', 1, 'x');"));
  ASSERT_TRUE(db->close());
  TableLayout layout;
  ASSERT_TRUE(ProbeContactsTable(path, layout));
  EXPECT_EQ(layout.column_count, 5);
  EXPECT_EQ(layout.raw_contact_id_column, 3);
  EXPECT_EQ(layout.data1_column, 0);  // not found: stays 0
}

TEST_F(TableProbe, RowsThatLiveOnlyInTheWalAreSeen) {
  const std::string path = dir_.file("contacts2.db");
  FixtureOptions options;
  options.wal = true;
  options.keep_wal = true;
  auto db = ContactsFixture::create(path, options);
  ASSERT_TRUE(db && db->checkpoint() && db->add_contact(1, {{"name", "Ann"}}) && db->close());
  ASSERT_TRUE(std::filesystem::exists(dir_.path() / "contacts2.db-wal"));
  // The bare main file, as the backup copy is taken, has an empty table:
  // its layout still comes from the declared schema.
  std::filesystem::create_directories(dir_.path() / "bak");
  copy_file(path, dir_.file("bak/contacts2.db"));
  TableLayout layout;
  EXPECT_TRUE(ProbeContactsTable(dir_.file("bak/contacts2.db"), layout));
  EXPECT_GT(layout.data1_column, layout.raw_contact_id_column);
  // The pulled copy's -wal is left as it is: its older frames hold rows
  // the scan reads, so the probe must not checkpoint it away.
  const auto wal_size = std::filesystem::file_size(dir_.path() / "contacts2.db-wal");
  EXPECT_TRUE(ProbeContactsTable(path, layout));
  ASSERT_TRUE(std::filesystem::exists(dir_.path() / "contacts2.db-wal"));
  EXPECT_EQ(std::filesystem::file_size(dir_.path() / "contacts2.db-wal"), wal_size);
}

TEST_F(TableProbe, NonAsciiPathWithSpaces) {
  const std::string folder = "Donn\xC3\xA9" "es t\xC3\xA9l\xC3\xA9phone \xE7\x94\xB5\xE8\xAF\x9D";
  std::filesystem::create_directories(dir_.path() / std::filesystem::u8path(folder));
  const std::string contacts = dir_.file(folder + "/contacts2.db");
  const std::string sms = dir_.file(folder + "/mmssms.db");
  ASSERT_TRUE(write_contacts(contacts, Generation::android6));
  ASSERT_TRUE(write_messages(sms, Generation::android4));
  TableLayout layout;
  EXPECT_TRUE(ProbeContactsTable(contacts, layout));
  EXPECT_GT(layout.data1_column, 0);
  EXPECT_TRUE(ProbeSmsTable(sms, layout));
  EXPECT_GT(layout.body_column, 0);
}

TEST_F(TableProbe, AViewNamedLikeTheTableIsNotRun) {
  // A crafted file may declare "data" as a view over an endless recursive
  // query; views are off on the probe's connection, so nothing runs.
  const std::string path = dir_.file("contacts2.db");
  auto db = ContactsFixture::create(path);
  ASSERT_TRUE(db);
  ASSERT_TRUE(db->exec("DROP VIEW view_data; DROP TABLE data; CREATE VIEW data AS WITH RECURSIVE c(raw_contact_id,"
                       " data1) AS (SELECT 1, 'x' UNION ALL SELECT raw_contact_id + 1, data1 FROM c"
                       " WHERE raw_contact_id > 0) SELECT * FROM c ORDER BY raw_contact_id;"));
  ASSERT_TRUE(db->close());
  TableLayout layout;
  EXPECT_FALSE(ProbeContactsTable(path, layout));
}

}  // namespace
}  // namespace qf
