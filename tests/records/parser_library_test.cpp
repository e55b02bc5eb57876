// The live-record parser library through the loader's adapter: natively the
// linked library, in the Windows suite morvatch.dll beside the test
// executable, bound by ordinal.
#include "records/parser_library.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "records/date_text.h"
#include "records/message_record.h"
#include "tests/records/temporary_folder_override.h"
#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace qf {
namespace {

using fixtures::ContactsFixture;
using fixtures::FixtureOptions;
using fixtures::MessagesFixture;

struct Row {
  std::string mimetype;
  std::int64_t raw_id;
  std::string value;
  bool operator==(const Row& o) const {
    return mimetype == o.mimetype && raw_id == o.raw_id && value == o.value;
  }
};

std::vector<Row> contact_rows(const std::string& path) {
  ParsedContacts parsed(path);
  std::map<std::int32_t, std::string> mimetypes;
  for (const LibMimeTypeNode* m = parsed.mimetypes(); m; m = m->next) mimetypes[m->id] = lib_text(m->text);
  std::vector<Row> rows;
  for (const LibContactRowNode* r = parsed.rows(); r; r = r->next) {
    rows.push_back({mimetypes[r->mimetype_id], r->raw_contact_id, lib_text(r->value)});
  }
  return rows;
}

std::vector<MessageRecord> messages(const std::string& path) {
  ParsedMessages parsed(path);
  std::vector<MessageRecord> out;
  for (const LibMessageNode* n = parsed.messages(); n; n = n->next) {
    MessageRecord m;
    m.thread_id = n->thread_id;
    m.address = lib_text(n->address);
    m.date_text = lib_text(n->date_text);
    m.type = n->type;
    m.body = lib_text(n->body);
    out.push_back(m);
  }
  return out;
}

std::string read_file(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool make_contacts(const std::string& path, const FixtureOptions& options = {}) {
  auto db = ContactsFixture::create(path, options);
  return db && db->add_contact(7, {{"name", "Ann \xC3\x85ngstr\xC3\xB6m"}, {"phone_v2", "555"}}) &&
         db->add_contact(3000000000LL, {{"email_v2", "big@example.org"}}) &&
         db->add_contact(9, {{"vnd.example/custom", "x"}}) && db->close();
}

TEST(ParserLibrary, IsAvailable) { EXPECT_TRUE(parser_library_available()); }

TEST(ParserLibrary, ContactRowsWithTheirMimetypesAndWideRawIds) {
  test::TempDir dir;
  ASSERT_TRUE(make_contacts(dir.file("contacts2.db")));
  const std::vector<Row> expected = {
      {"vnd.android.cursor.item/name", 7, "Ann \xC3\x85ngstr\xC3\xB6m"},
      {"vnd.android.cursor.item/phone_v2", 7, "555"},
      {"vnd.android.cursor.item/email_v2", 3000000000LL, "big@example.org"},
      {"vnd.example/custom", 9, "x"},
  };
  EXPECT_EQ(contact_rows(dir.file("contacts2.db")), expected);
}

TEST(ParserLibrary, MessagesWithTheRecordsDateText) {
  test::TempDir dir;
  {
    auto db = MessagesFixture::create(dir.file("mmssms.db"));
    ASSERT_TRUE(db);
    ASSERT_NE(db->add_message({4, "+4412", 1700000000123LL, 1, "hi </script>"}), 0);
    ASSERT_NE(db->add_message({5, "777", -5, 2, ""}), 0);
    ASSERT_TRUE(db->close());
  }
  const auto got = messages(dir.file("mmssms.db"));
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].thread_id, 4);
  EXPECT_EQ(got[0].address, "+4412");
  EXPECT_EQ(got[0].date_text, DateTextFromMillis(1700000000123LL));
  EXPECT_EQ(got[0].type, 1);
  EXPECT_EQ(got[0].body, "hi </script>");
  EXPECT_EQ(got[1].date_text, DateTextFromMillis(0));
  EXPECT_EQ(got[1].type, 2);
}

TEST(ParserLibrary, UnreadableFilesGiveEmptyLists) {
  test::TempDir dir;
  std::ofstream(dir.path() / "empty.db").close();
  std::ofstream(dir.path() / "text.db") << "this is not a database, just some text\n";
  std::filesystem::create_directory(dir.path() / "folder.db");
  {
    // A database of another kind: no such tables.
    auto other = MessagesFixture::create(dir.file("other.db"));
    ASSERT_TRUE(other && other->close());
  }
  for (const char* name : {"missing.db", "empty.db", "text.db", "folder.db"}) {
    EXPECT_TRUE(contact_rows(dir.file(name)).empty()) << name;
    EXPECT_TRUE(messages(dir.file(name)).empty()) << name;
  }
  EXPECT_TRUE(contact_rows(dir.file("other.db")).empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing.db"));  // not created
}

// The loader tells the user why live records may be missing: the library
// reports how each parse went instead of handing back silent empty lists.
TEST(ParserLibrary, EachParseReportsWhyItsListsMayBeShort) {
  test::TempDir dir;
  ASSERT_TRUE(make_contacts(dir.file("contacts2.db")));
  std::ofstream(dir.path() / "text.db") << "this is not a database, just some text\n";
  std::ofstream(dir.path() / "not-a-folder") << "x";
  struct Case {
    std::string name;
    bool temporary_folder_unusable;
    int status;
  };
  for (const Case& c : {Case{"contacts2.db", false, MORVATCH_OK}, Case{"missing.db", false, MORVATCH_MISSING},
                        Case{"text.db", false, MORVATCH_NOT_DATABASE},
                        Case{"contacts2.db", true, MORVATCH_NO_COPY}}) {
    SCOPED_TRACE(c.name + (c.temporary_folder_unusable ? " without a temporary folder" : ""));
    std::optional<test::TemporaryFolderOverride> no_temp;
    if (c.temporary_folder_unusable) no_temp.emplace(dir.file("not-a-folder"));
    {
      ParsedContacts parsed(dir.file(c.name));
      EXPECT_EQ(parsed.status(), c.status);
    }
    ParsedMessages parsed(dir.file(c.name));
    EXPECT_EQ(parsed.status(), c.status);
  }
}

TEST(ParserLibrary, TextsWithNulBytesComeWhole) {
  test::TempDir dir;
  const std::string path = dir.file("mmssms.db");
  auto db = MessagesFixture::create(path);
  ASSERT_TRUE(db && db->add_message({1, "555", 1700000000000, 1, std::string("before\0after", 12)}) && db->close());
  ParsedMessages parsed(path);
  ASSERT_NE(parsed.messages(), nullptr);
  EXPECT_EQ(lib_value(parsed.messages()->body, parsed.messages()->body_length), std::string("before\0after", 12));
}

TEST(ParserLibrary, LockedFileGivesItsCommittedRowsWithoutWaiting) {
  test::TempDir dir;
  ASSERT_TRUE(make_contacts(dir.file("contacts2.db")));
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("contacts2.db").c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE; DELETE FROM data;", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(contact_rows(dir.file("contacts2.db")).size(), 4u);
  // The holder's lock and transaction are untouched by the read.
  EXPECT_EQ(sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(holder);
  EXPECT_TRUE(contact_rows(dir.file("contacts2.db")).empty());
}

TEST(ParserLibrary, TwoCallsInARowOnTwoCopies) {
  test::TempDir dir;
  ASSERT_TRUE(make_contacts(dir.file("contacts2.db")));
  std::filesystem::create_directory(dir.path() / "bak");
  std::filesystem::copy_file(dir.path() / "contacts2.db", dir.path() / "bak" / "contacts2.db");
  const auto first = contact_rows(dir.file("contacts2.db"));
  const auto second = contact_rows(dir.file("bak/contacts2.db"));
  EXPECT_EQ(first.size(), 4u);
  EXPECT_EQ(first, second);

  // A parse that is not released first: the second parse replaces the lists.
  LibContactRowNode* rows = nullptr;
  LibMimeTypeNode* mimetypes = nullptr;
  parse_contacts(dir.file("contacts2.db"), &rows, &mimetypes);
  parse_contacts(dir.file("bak/contacts2.db"), &rows, &mimetypes);
  int count = 0;
  for (const LibContactRowNode* r = rows; r; r = r->next) ++count;
  EXPECT_EQ(count, 4);
  release_contacts();
  release_contacts();  // a second release is harmless
}

TEST(ParserLibrary, ReadsTheWalWithoutChangingAnyFile) {
  test::TempDir dir;
  const std::string path = dir.file("mmssms.db");
  {
    FixtureOptions options;
    options.wal = true;
    options.keep_wal = true;
    auto db = MessagesFixture::create(path, options);
    ASSERT_TRUE(db);
    ASSERT_NE(db->add_message({1, "555", 1000, 1, "in the main file"}), 0);
    ASSERT_TRUE(db->checkpoint());
    ASSERT_NE(db->add_message({1, "555", 2000, 2, "only in the wal"}), 0);
    ASSERT_TRUE(db->close());
  }
  ASSERT_TRUE(std::filesystem::exists(path + "-wal"));
  std::filesystem::remove(path + "-shm");  // as a bare copy would lack it
  const std::string main_before = read_file(path);
  const std::string wal_before = read_file(path + "-wal");

  const auto got = messages(path);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].body, "only in the wal");
  EXPECT_EQ(messages(path).size(), 2u);

  EXPECT_EQ(read_file(path), main_before);
  EXPECT_EQ(read_file(path + "-wal"), wal_before);
  EXPECT_FALSE(std::filesystem::exists(path + "-shm"));
}

}  // namespace
}  // namespace qf
