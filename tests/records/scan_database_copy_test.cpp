#include "records/scan_database_copy.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "records/date_text.h"
#include "records/db_page.h"
#include "records/table_probe.h"
#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace qf {
namespace {

using fixtures::ContactsFixture;
using fixtures::FixtureContact;
using fixtures::FixtureMessage;
using fixtures::FixtureOptions;
using fixtures::Generation;
using fixtures::MessagesFixture;

// The mimetype list as the parser library hands it to the loader.
MimetypeNameTable read_mimetypes(const std::string& path) {
  MimetypeNameTable table;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT _id, mimetype FROM mimetypes", -1, &stmt, nullptr);
    while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
      table[sqlite3_column_int(stmt, 0)] = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return table;
}

// Levels of the table's b-tree, following right-most children from the root.
int btree_levels(const std::string& path, std::int32_t root, std::uint32_t page_size) {
  std::ifstream in(path, std::ios::binary);
  std::uint32_t page = static_cast<std::uint32_t>(root);
  for (int levels = 1; levels < 10; ++levels) {
    std::uint8_t header[12] = {};
    in.seekg(static_cast<std::streamoff>((std::uint64_t{page} - 1) * page_size));
    in.read(reinterpret_cast<char*>(header), sizeof header);
    if (header[0] != db_page::kInteriorTable) return header[0] == db_page::kLeafTable ? levels : 0;
    page = db_page::be32(header + 8);
  }
  return 0;
}

std::string long_note() {
  std::string note = "Met at the Lisbon fair.\nLikes: tea, chess\r\nAddress in the paper file.\n";
  while (note.size() < 200) note += "Follow up on the second order; ask about the invoice. ";
  return note;
}

std::vector<FixtureContact> known_contacts() {
  return {
      {100001, {{"name", "Zoë Ångström"}, {"phone_v2", "+46 70 123 45 67"}, {"email_v2", "zoe@example.se"},
                {"note", "Line one\nLine two\r\nLine three"}}},
      {100002, {{"name", "张伟"}, {"phone_v2", "+86 138 0013 8000"}, {"note", long_note()}}},
      {100003, {{"name", "محمد علي"}, {"email_v2", "m.ali@example.com"}, {"phone_v2", "+20 100 000 0001"}}},
      {100004, {{"name", "Joe Bloggs"}, {"phone_v2", "555-0100"}, {"phone_v2", "555-0199"},
                {"email_v2", "joe@example.org"}}},
  };
}

struct ContactCase {
  Generation generation;
  int page_size;
  int generated;  // live contacts around the deleted ones
  int levels;     // of the data table's b-tree
  const char* label;
};

class ScanContactsCopy : public ::testing::TestWithParam<ContactCase> {
 protected:
  // Generated contacts with the known ones among them, then the known ones
  // deleted; an upgraded phone gets its new columns halfway.
  std::string write_copy(FixtureOptions options) {
    const ContactCase& c = GetParam();
    options.generation = c.generation;
    options.page_size = c.page_size;
    const std::string path = dir_.file("contacts2.db");
    auto db = ContactsFixture::create(path, options);
    EXPECT_TRUE(db);
    // A phone in use has data row ids far above 127 (brand-new phones have
    // a test of their own below).
    EXPECT_TRUE(db->exec("INSERT INTO sqlite_sequence (name, seq) VALUES ('data', 5000)"));
    // One live contact first: on an upgraded phone its rows keep the old
    // length, which is how the scan learns that length.
    EXPECT_TRUE(db->add_generated_contacts(1, 1));
    std::int64_t next = 2;
    const std::vector<FixtureContact> known = known_contacts();
    for (std::size_t i = 0; i < known.size(); ++i) {
      if (c.generation == Generation::upgraded && i == known.size() / 2) {
        EXPECT_TRUE(db->upgrade_schema());
      }
      const std::int64_t batch = c.generated / static_cast<std::int64_t>(known.size());
      if (batch > 0) {
        EXPECT_TRUE(db->add_generated_contacts(next, batch));
      }
      next += batch;
      EXPECT_TRUE(db->add_contact(known[i]));
    }
    EXPECT_TRUE(db->add_generated_contacts(next, 3));
    EXPECT_TRUE(db->begin());
    for (const FixtureContact& k : known) EXPECT_TRUE(db->delete_contact(k.raw_contact_id));
    EXPECT_TRUE(db->commit());
    EXPECT_TRUE(db->close());
    return path;
  }

  test::TempDir dir_{"qf-scan-contacts"};
};

TEST_P(ScanContactsCopy, DeletedContactsComeBackWithEveryField) {
  const std::string path = write_copy({});
  TableLayout layout;
  ASSERT_TRUE(ProbeContactsTable(path, layout));
  const int levels = btree_levels(path, layout.root_page, static_cast<std::uint32_t>(GetParam().page_size));
  EXPECT_EQ(levels, GetParam().levels);

  ContactTable table;
  ScanDatabaseCopy(path, table, read_mimetypes(path));
  for (const FixtureContact& k : known_contacts()) {
    ASSERT_EQ(table.count(k.raw_contact_id), 1u) << k.raw_contact_id;
    const ContactRecord& r = table.at(k.raw_contact_id);
    EXPECT_TRUE(r.deleted);
    EXPECT_EQ(r.name, k.rows[0].data1);
    for (const auto& row : k.rows) {
      const std::string& field = row.mimetype == "phone_v2" ? r.phone
                                 : row.mimetype == "email_v2" ? r.email
                                 : row.mimetype == "note"     ? r.note
                                                              : r.name;
      EXPECT_NE(("|" + field + "|").find("|" + row.data1 + "|"), std::string::npos)
          << k.raw_contact_id << " " << row.mimetype;
    }
  }
  // Both phones of one contact, each once, in whichever order the regions
  // gave them.
  const std::string& phones = table.at(100004).phone;
  EXPECT_TRUE(phones == "555-0100|555-0199" || phones == "555-0199|555-0100") << phones;
  EXPECT_EQ(table.at(100002).note, long_note());
}

TEST_P(ScanContactsCopy, SecureDeleteAndVacuumLeaveNothingToRecover) {
  FixtureOptions secure;
  secure.secure_delete = true;
  std::string path = write_copy(secure);
  ContactTable table;
  ScanDatabaseCopy(path, table, read_mimetypes(path));
  for (const FixtureContact& k : known_contacts()) EXPECT_EQ(table.count(k.raw_contact_id), 0u);

  FixtureOptions vacuum;
  vacuum.vacuum_after = true;
  path = write_copy(vacuum);
  table.clear();
  ScanDatabaseCopy(path, table, read_mimetypes(path));
  EXPECT_TRUE(table.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Phones, ScanContactsCopy,
    ::testing::Values(ContactCase{Generation::android4, 4096, 0, 1, "Android4SinglePage"},
                      ContactCase{Generation::android4, 1024, 600, 3, "Android4Pages1024"},
                      ContactCase{Generation::android6, 4096, 2000, 2, "Android6Pages4096"},
                      ContactCase{Generation::android6, 1024, 600, 3, "Android6Pages1024"},
                      ContactCase{Generation::upgraded, 1024, 600, 3, "UpgradedPages1024"},
                      ContactCase{Generation::upgraded, 4096, 0, 1, "UpgradedSinglePage"}),
    [](const ::testing::TestParamInfo<ContactCase>& info) { return std::string(info.param.label); });

// A long body takes a good part of a page: deleting it does not leave the
// page so empty that SQLite rebuilds it (which would overwrite the freed row).
std::vector<FixtureMessage> known_messages(int page_size) {
  std::string long_body = "Long message in parts: ";
  while (long_body.size() < static_cast<std::size_t>(page_size) * 3 / 10) {
    long_body += "the ferry leaves at nine, bring the tickets and the keys. ";
  }
  return {
      {4, "+15550001", 1700000000000, 1, "Are you coming tonight?"},
      {4, "+15550001", 1700000100000, 2, long_body},
      {7, "+4915112345678", 1710000000000, 1, "Grüße aus Berlin 🎉\nBis bald"},
      {9, "BANK", 1600000000000, 1, "Code 123456 — do not share"},
  };
}

// A brand-new phone: data rows 1 to 127, short enough that length and row
// id take one byte each, so the freeblock header covers the header-length
// byte and the _id's serial type of every freed row.
TEST(ScanNewPhoneCopy, DeletedContactsWithOneByteRowIdsComeBack) {
  for (Generation generation : {Generation::android4, Generation::android6}) {
    test::TempDir dir{"qf-scan-new-phone"};
    const std::string path = dir.file("contacts2.db");
    FixtureOptions options;
    options.generation = generation;
    auto db = ContactsFixture::create(path, options);
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->add_contact({1, {{"name", "Cleo"}, {"phone_v2", "555-0101"}}}));
    ASSERT_TRUE(db->add_contact({2, {{"name", "Gus"}, {"phone_v2", "555-0102"}}}));
    ASSERT_TRUE(db->add_contact({3, {{"name", "Ida"}, {"email_v2", "ida@example.org"}}}));
    ASSERT_TRUE(db->add_contact({4, {{"name", "Max"}}}));
    ASSERT_TRUE(db->delete_contact(2));
    ASSERT_TRUE(db->delete_contact(4));
    ASSERT_TRUE(db->close());
    ContactTable table;
    ScanDatabaseCopy(path, table, read_mimetypes(path));
    ASSERT_EQ(table.count(2), 1u);
    EXPECT_EQ(table.at(2).name, "Gus");
    EXPECT_EQ(table.at(2).phone, "555-0102");
    ASSERT_EQ(table.count(4), 1u);
    EXPECT_EQ(table.at(4).name, "Max");
    EXPECT_EQ(table.count(1) + table.count(3), 0u);  // live rows are not free space
  }
}

struct MessageCase {
  Generation generation;
  int page_size;
  int generated;
  int levels;
  const char* label;
};

class ScanMessagesCopy : public ::testing::TestWithParam<MessageCase> {
 protected:
  std::string write_copy(FixtureOptions options, const std::string& name = "mmssms.db") {
    const MessageCase& c = GetParam();
    options.generation = c.generation;
    options.page_size = c.page_size;
    const std::string path = dir_.file(name);
    auto db = MessagesFixture::create(path, options);
    EXPECT_TRUE(db);
    std::vector<std::int64_t> ids;
    const std::vector<FixtureMessage> known = known_messages(c.page_size);
    for (std::size_t i = 0; i < known.size(); ++i) {
      if (c.generation == Generation::upgraded && i == known.size() / 2) {
        EXPECT_TRUE(db->upgrade_schema());
      }
      if (c.generated > 0) {
        EXPECT_TRUE(db->add_generated_messages(c.generated / 4, 20));
      }
      ids.push_back(db->add_message(known[i]));
    }
    // A few live rows after the deleted ones.
    EXPECT_TRUE(db->add_generated_messages(3, 3));
    for (std::int64_t id : ids) EXPECT_TRUE(db->delete_message(id));
    EXPECT_TRUE(db->close());
    return path;
  }

  test::TempDir dir_{"qf-scan-sms"};
};

const MessageRecord* find_message(const ConversationTable& table, const FixtureMessage& m) {
  const auto it = table.find(ConversationKey{m.address, m.thread_id});
  if (it == table.end()) return nullptr;
  for (const MessageRecord& r : it->second.messages) {
    if (r.body == m.body) return &r;
  }
  return nullptr;
}

TEST_P(ScanMessagesCopy, DeletedMessagesComeBackWithEveryField) {
  const std::string path = write_copy({});
  TableLayout layout;
  ASSERT_TRUE(ProbeSmsTable(path, layout));
  const int levels = btree_levels(path, layout.root_page, static_cast<std::uint32_t>(GetParam().page_size));
  EXPECT_EQ(levels, GetParam().levels);

  ConversationTable table;
  ScanDatabaseCopy(path, table);
  for (const FixtureMessage& m : known_messages(GetParam().page_size)) {
    const MessageRecord* r = find_message(table, m);
    ASSERT_NE(r, nullptr) << m.body;
    EXPECT_TRUE(r->deleted);
    EXPECT_EQ(r->type, m.type);
    EXPECT_EQ(r->thread_id, m.thread_id);
    EXPECT_EQ(r->address, m.address);
    EXPECT_EQ(r->date_text, DateTextFromMillis(m.date_ms));
    EXPECT_TRUE(table.at(ConversationKey{m.address, m.thread_id}).deleted);
  }
}

TEST_P(ScanMessagesCopy, SameDeletedMessageInThePulledAndTheBackupCopyIsStoredOnce) {
  const std::string path = write_copy({});
  std::filesystem::create_directories(dir_.path() / "bak");
  const std::string backup = dir_.file("bak/mmssms.db");
  std::filesystem::copy_file(path, backup);
  ConversationTable table;
  ScanDatabaseCopy(path, table);
  std::size_t once = 0;
  for (const auto& [key, c] : table) once += c.messages.size();
  ScanDatabaseCopy(backup, table);
  std::size_t twice = 0;
  for (const auto& [key, c] : table) twice += c.messages.size();
  EXPECT_GE(once, known_messages(GetParam().page_size).size());
  EXPECT_EQ(twice, once);
}

TEST_P(ScanMessagesCopy, SecureDeleteAndVacuumLeaveNothingToRecover) {
  FixtureOptions secure;
  secure.secure_delete = true;
  std::string path = write_copy(secure);
  ConversationTable table;
  ScanDatabaseCopy(path, table);
  for (const FixtureMessage& m : known_messages(GetParam().page_size)) EXPECT_EQ(find_message(table, m), nullptr);

  FixtureOptions vacuum;
  vacuum.vacuum_after = true;
  path = write_copy(vacuum);
  table.clear();
  ScanDatabaseCopy(path, table);
  EXPECT_TRUE(table.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Phones, ScanMessagesCopy,
    ::testing::Values(MessageCase{Generation::android4, 4096, 0, 1, "Android4SinglePage"},
                      MessageCase{Generation::android4, 1024, 1200, 3, "Android4Pages1024"},
                      MessageCase{Generation::android6, 4096, 8000, 2, "Android6Pages4096"},
                      MessageCase{Generation::android6, 1024, 1200, 3, "Android6Pages1024"},
                      MessageCase{Generation::upgraded, 1024, 1200, 3, "UpgradedPages1024"}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.label); });

// Damaged copies: a real database with deletions, changed byte by byte.
class ScanDamagedCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    FixtureOptions options;
    options.generation = Generation::android4;
    options.page_size = 1024;
    original_ = dir_.file("contacts2.db");
    auto db = ContactsFixture::create(original_, options);
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->exec("INSERT INTO sqlite_sequence (name, seq) VALUES ('data', 5000)"));
    ASSERT_TRUE(db->add_generated_contacts(1, 400));
    ASSERT_TRUE(db->begin());
    for (std::int64_t id = 5; id <= 400; id += 10) ASSERT_TRUE(db->delete_contact(id));
    ASSERT_TRUE(db->commit());
    ASSERT_TRUE(db->close());
    std::ifstream in(original_, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    ASSERT_TRUE(ProbeContactsTable(original_, layout_));
    mimetypes_ = read_mimetypes(original_);
  }

  std::uint8_t* page(std::uint32_t number) { return bytes_.data() + (std::size_t{number} - 1) * 1024; }
  void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
  }

  // Scans the damaged bytes as a copy in a folder of its own, into a table
  // that already holds one record from an earlier scan.
  ContactTable scan(const std::vector<char>& bytes) {
    std::filesystem::create_directories(dir_.path() / "damaged");
    const std::string path = dir_.file("damaged/contacts2.db");
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ContactTable table;
    table[-1].name = "from before";
    ScanDatabaseCopy(path, table, mimetypes_);
    EXPECT_EQ(table.at(-1).name, "from before");
    return table;
  }
  ContactTable scan() { return scan({bytes_.begin(), bytes_.end()}); }

  test::TempDir dir_{"qf-scan-damaged"};
  std::string original_;
  std::vector<std::uint8_t> bytes_;
  TableLayout layout_;
  MimetypeNameTable mimetypes_;
};

TEST_F(ScanDamagedCopy, IntactCopyFindsTheDeletedContacts) {
  EXPECT_GE(scan().size(), 30u);
}

TEST_F(ScanDamagedCopy, ChildPointerCycleEndsTheWalk) {
  const auto root = static_cast<std::uint32_t>(layout_.root_page);
  ASSERT_EQ(page(root)[0], db_page::kInteriorTable);
  const std::uint32_t child = db_page::be32(page(root) + 8);
  ASSERT_EQ(page(child)[0], db_page::kInteriorTable);
  put32(page(child) + 8, root);  // the right-most child's right-most child is the root again
  const ContactTable table = scan();
  EXPECT_GT(table.size(), 1u);
}

// An interior page holds no rows: garbage in it must not cost the rows of
// the leaves below it.
TEST_F(ScanDamagedCopy, GarbageInteriorPageCostsNoLeafBelowIt) {
  const ContactTable intact = scan();
  const auto root = static_cast<std::uint32_t>(layout_.root_page);
  ASSERT_EQ(page(root)[0], db_page::kInteriorTable);
  const std::uint32_t child = db_page::be32(page(root) + 8);
  ASSERT_EQ(page(child)[0], db_page::kInteriorTable);
  for (std::uint32_t i = 0; i < 1024; ++i) page(child)[i] = static_cast<std::uint8_t>(0x5A ^ i);
  const ContactTable damaged = scan();
  EXPECT_EQ(damaged.size(), intact.size());
  for (const auto& [key, record] : intact) {
    ASSERT_EQ(damaged.count(key), 1u) << key;
    EXPECT_EQ(damaged.at(key).name, record.name);
  }
}

TEST_F(ScanDamagedCopy, FreeblockCycleEndsTheChain) {
  int damaged = 0;
  for (std::uint32_t p = 2; p <= bytes_.size() / 1024; ++p) {
    std::uint8_t* at = page(p);
    const std::uint32_t first = db_page::be16(at + 1);
    if (at[0] != db_page::kLeafTable || first == 0) continue;
    at[first] = at[1];  // the first freeblock points at itself
    at[first + 1] = at[2];
    ++damaged;
  }
  ASSERT_GT(damaged, 0);
  EXPECT_GT(scan().size(), 1u);
}

TEST_F(ScanDamagedCopy, TruncatedCopyGivesWhatItsRemainingPagesHold) {
  const ContactTable whole = scan();
  // Cut inside the last page: SQLite still opens it, the walk reads less.
  const ContactTable cut = scan({bytes_.begin(), bytes_.end() - 512});
  EXPECT_GT(cut.size(), 1u);
  for (const auto& [key, record] : cut) {
    if (key < 0) continue;
    ASSERT_EQ(whole.count(key), 1u);
    EXPECT_EQ(record.name, whole.at(key).name);
  }
  // Cut in half: the schema names pages that are gone, the probe refuses
  // the copy, and nothing is added.
  EXPECT_EQ(scan({bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(bytes_.size() / 2)}).size(), 1u);
}

TEST_F(ScanDamagedCopy, PageSizeFieldOfZeroEndsTheScan) {
  bytes_[16] = 0;
  bytes_[17] = 0;
  EXPECT_EQ(scan().size(), 1u);
}

}  // namespace
}  // namespace qf
