#include "records/contact_candidate.h"

#include <gtest/gtest.h>

#include "records/contact_row.h"
#include "tests/records/record_bytes.h"

namespace qf {
namespace {

using namespace test;

const char kName[] = "vnd.android.cursor.item/name";
const char kPhone[] = "vnd.android.cursor.item/phone_v2";
const char kEmail[] = "vnd.android.cursor.item/email_v2";
const char kNote[] = "vnd.android.cursor.item/note";

// Mimetype ids as a stock phone registers them.
MimetypeNameTable phone_mimetypes() {
  return {{1, kEmail}, {5, kPhone}, {7, kName}, {11, kNote}};
}

// The data table of Android 4.4: _id, package_id, mimetype_id,
// raw_contact_id, is_read_only, is_primary, is_super_primary, data_version,
// data1..data15, data_sync1..data_sync4 (27 columns). Android 6 puts the
// TEXT column hash_id after raw_contact_id and 4 columns at the end (32).
TableLayout data_layout(bool android6) {
  TableLayout layout;
  layout.root_page = 2;
  layout.column_count = android6 ? 32 : 27;
  layout.raw_contact_id_column = 3;
  layout.data1_column = android6 ? 9 : 8;
  layout.text_columns.assign(static_cast<std::size_t>(layout.column_count), false);
  for (int c = layout.data1_column; c < layout.column_count; ++c) layout.text_columns[static_cast<std::size_t>(c)] = true;
  if (android6) layout.text_columns[4] = true;
  return layout;
}

struct DataRowValues {
  std::int64_t mimetype_id = 5;
  std::int64_t raw_contact_id = 42;
  std::string data1 = "555-0100";
};

std::vector<Column> data_columns(const DataRowValues& v, bool android6, int column_count = 0) {
  const TableLayout layout = data_layout(android6);
  std::vector<Column> c(static_cast<std::size_t>(column_count ? column_count : layout.column_count));
  c[1] = int_column(1);
  c[2] = int_column(v.mimetype_id);
  c[3] = int_column(v.raw_contact_id);
  if (android6) c[4] = text_column("5bd5e8f0b3a24ec2a9bd21b8a4e2f44c8b0c2d11");
  c[static_cast<std::size_t>(layout.data1_column)] = text_column(v.data1);
  c[static_cast<std::size_t>(layout.data1_column) + 1] = int_column(2);
  return c;
}

// The region a freed row leaves in a contacts freeblock region: the row's
// serial types (its _id first) and contents, behind some bytes of garbage.
std::vector<std::uint8_t> freed_row(const std::vector<Column>& columns) {
  return concat({0x01, 0xFF, 0x13}, record_tail(columns));
}

ContactTable decode(const std::vector<std::uint8_t>& region, const TableLayout& layout,
                    const CandidateOptions& options = {}, const MimetypeNameTable& mimetypes = phone_mimetypes()) {
  ContactTable table;
  ContactCandidate(region.data(), region.size(), layout, table, mimetypes, options);
  return table;
}

int rows_found(const std::vector<std::uint8_t>& region, const TableLayout& layout,
               const CandidateOptions& options = {}) {
  const ContactRowPattern pattern{layout.column_count, layout.raw_contact_id_column, layout.data1_column,
                                  layout.text_columns};
  int count = 0;
  find_contact_rows({region.data(), region.size()}, pattern, options, [](std::int64_t) { return true; },
                    [&](const ContactRow&) { ++count; });
  return count;
}

TableLayout worked_example_layout() {
  TableLayout layout;
  layout.column_count = 6;
  layout.raw_contact_id_column = 3;
  layout.data1_column = 5;
  return layout;
}

const std::vector<std::uint8_t> kWorkedExample = {0x00, 0x00, 0x01, 0x01, 0x08, 0x13,
                                                  0x05, 0x2A, 0x4A, 0x6F, 0x65};

TEST(ContactCandidate, WorkedExampleGivesContact42NamedJoe) {
  for (const CandidateRules& rules : {CandidateRules{}, CandidateRules{false, false, false, false, false}}) {
    CandidateOptions options;
    options.rules = rules;
    const ContactTable table = decode(kWorkedExample, worked_example_layout(), options, {{5, kName}});
    ASSERT_EQ(table.size(), 1u);
    const ContactRecord& joe = table.at(42);
    EXPECT_TRUE(joe.deleted);
    EXPECT_TRUE(joe.checked);
    EXPECT_EQ(joe.raw_contact_id, 42);
    EXPECT_EQ(joe.name, "Joe");
    EXPECT_EQ(joe.phone + joe.email + joe.note + joe.others, "");
    // Only start 0 fits; starts 1 to 10 are rejected. With the key column
    // implied, start 1 reads the same row once more (filed once).
    EXPECT_EQ(rows_found(kWorkedExample, worked_example_layout(), options), rules.implied_key_column ? 2 : 1);
  }
}

// Row 3 of a small table: length and row id took one byte each, so the
// freeblock header's four bytes also covered the header-length byte and the
// _id's serial type; the region begins at column 1's serial type.
TEST(ContactCandidate, RowWhoseKeyTypeWasOverwrittenIsFoundWithTheKeyImplied) {
  for (bool android6 : {false, true}) {
    std::vector<std::uint8_t> region = record_tail(data_columns({7, 3, "Gus Seven"}, android6));
    ASSERT_EQ(region.front(), 0x00);  // the _id's NULL
    region.erase(region.begin());
    EXPECT_EQ(decode(region, data_layout(android6), {}, {{7, kName}}).at(3).name, "Gus Seven");
    CandidateOptions keyed;
    keyed.rules.implied_key_column = false;
    EXPECT_TRUE(decode(region, data_layout(android6), keyed, {{7, kName}}).empty());
  }
}

TEST(ContactCandidate, RowWhoseHeaderStartsAtOffsetThreeIsFoundThere) {
  const auto region = concat({0xFF, 0xFF, 0xFF}, kWorkedExample);
  EXPECT_EQ(decode(region, worked_example_layout(), {}, {{5, kName}}).at(42).name, "Joe");
}

TEST(ContactCandidate, MimetypeIdAsConstantIsReadButTwoByteIdsStayRejected) {
  const TableLayout layout = data_layout(false);
  DataRowValues email{1, 8, "ann@example.org"};  // id 1: SQLite stores the constant, type 9
  ASSERT_EQ(data_columns(email, false)[2].type, 9u);
  EXPECT_EQ(decode(freed_row(data_columns(email, false)), layout).at(8).email, "ann@example.org");
  CandidateOptions strict_one_byte;
  strict_one_byte.rules.mimetype_id_constants = false;
  EXPECT_TRUE(decode(freed_row(data_columns(email, false)), layout, strict_one_byte).empty());

  DataRowValues zero{0, 8, "zero id"};  // type 8, read as 0: not in the table, so others
  EXPECT_EQ(decode(freed_row(data_columns(zero, false)), layout).at(8).others, "zero id");

  std::vector<Column> two_byte = data_columns({5, 8, "555"}, false);
  two_byte[2] = int_column_of_width(5, 2);
  EXPECT_TRUE(decode(freed_row(two_byte), layout).empty());
  two_byte[2] = int_column(300);
  EXPECT_TRUE(decode(freed_row(two_byte), layout, {}, {{300, kPhone}}).empty());
}

TEST(ContactCandidate, Data1ThatIsNullOrHoldsControlBytesIsRejected) {
  const TableLayout layout = data_layout(false);
  std::vector<Column> photo = data_columns({14, 9, ""}, false);
  photo[8] = null_column();
  photo[22] = blob_column({0x89, 'P', 'N', 'G'});
  EXPECT_TRUE(decode(freed_row(photo), layout, {}, {{14, "vnd.android.cursor.item/photo"}}).empty());
  EXPECT_TRUE(decode(freed_row(data_columns({5, 9, "555\x01"}, false)), layout).empty());
  EXPECT_TRUE(decode(freed_row(data_columns({5, 9, "555\x7F"}, false)), layout).empty());
  EXPECT_TRUE(decode(freed_row(data_columns({5, 9, "55\xC3"}, false)), layout).empty());
}

TEST(ContactCandidate, RowsOfOneContactMeetInOneRecordUnknownMimetypesGoToOthers) {
  const TableLayout layout = data_layout(false);
  const auto region = concat(concat(freed_row(data_columns({5, 7, "555-0100"}, false)),
                                    freed_row(data_columns({1, 7, "bo@example.org"}, false))),
                             freed_row(data_columns({99, 7, "custom"}, false)));
  const ContactTable table = decode(region, layout);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table.at(7).phone, "555-0100");
  EXPECT_EQ(table.at(7).email, "bo@example.org");
  EXPECT_EQ(table.at(7).others, "custom");
}

TEST(ContactCandidate, Android6HashIdIsAcceptedOnlyInColumnsDeclaredText) {
  const TableLayout layout = data_layout(true);
  const std::vector<Column> row = data_columns({7, 12, "Zoë Ångström"}, true);
  EXPECT_EQ(decode(freed_row(row), layout).at(12).name, "Zoë Ångström");

  CandidateOptions plain;
  plain.rules.text_columns_before_data1 = false;
  EXPECT_TRUE(decode(freed_row(row), layout, plain).empty());

  std::vector<Column> text_elsewhere = row;
  text_elsewhere[5] = text_column("1");  // is_read_only is not declared TEXT
  EXPECT_TRUE(decode(freed_row(text_elsewhere), layout).empty());
  std::vector<Column> blob_hash = row;
  blob_hash[4] = blob_column({0x5B, 0xD5});
  EXPECT_TRUE(decode(freed_row(blob_hash), layout).empty());
  std::vector<Column> null_hash = row;
  null_hash[4] = null_column();
  EXPECT_EQ(decode(freed_row(null_hash), layout).at(12).name, "Zoë Ångström");
}

TEST(ContactCandidate, RowsWrittenBeforeAnUpgradeAreReadWithTheirLiveLength) {
  // Upgraded phone: the table grew from 27 to 32 columns by ALTER TABLE, so
  // hash_id and the rest stand at the end; old rows keep 27 columns.
  TableLayout layout = data_layout(false);
  layout.column_count = 32;
  layout.text_columns.resize(32, true);
  const std::vector<std::uint8_t> old_row = freed_row(data_columns({7, 21, "Old Name"}, false, 27));
  CandidateOptions learned;
  learned.record_lengths = {27, 32};
  EXPECT_EQ(decode(old_row, layout, learned).at(21).name, "Old Name");

  CandidateOptions off = learned;
  off.rules.learned_record_lengths = false;
  const ContactTable garbled = decode(old_row, layout, off);
  EXPECT_TRUE(garbled.count(21) == 0 || garbled.at(21).name != "Old Name");

  // A guessed length must also give a mimetype the phone knows.
  EXPECT_TRUE(decode(freed_row(data_columns({77, 21, "Old Name"}, false, 27)), layout, learned).empty());
  // New rows are still read at full length.
  std::vector<Column> new_row = data_columns({5, 22, "555-0199"}, false, 32);
  new_row[27] = text_column("a1b2");
  EXPECT_EQ(decode(freed_row(new_row), layout, learned).at(22).phone, "555-0199");
}

TEST(ContactCandidate, GarbageStartRunningPastTheEndNoLongerHidesTheRowsBehindIt) {
  // At start 0 the types 7 7 1 1 8 15 fit the header, but the mimetype id
  // would start 22 bytes on, past the end of this 17-byte region.
  const auto region = concat({0x07, 0x07, 0x01, 0x01, 0x08, 0x0F}, kWorkedExample);
  EXPECT_EQ(decode(region, worked_example_layout(), {}, {{5, kName}}).at(42).name, "Joe");
  CandidateOptions stop;
  stop.rules.reject_overrunning_start = false;
  EXPECT_TRUE(decode(region, worked_example_layout(), stop, {{5, kName}}).empty());
}

TEST(ContactCandidate, RegionEndingInsideARowHeaderKeepsTheRowsBeforeIt) {
  const auto region = concat(kWorkedExample, {0x00, 0x00, 0x01});
  for (bool reject : {false, true}) {
    CandidateOptions options;
    options.rules.reject_overrunning_start = reject;
    EXPECT_EQ(decode(region, worked_example_layout(), options, {{5, kName}}).at(42).name, "Joe");
  }
}

TEST(ContactCandidate, EnormousSerialTypesAndUnusableLayoutsReadNothing) {
  // data1's type is the largest varint: 2^31 bytes of text, far past the end.
  const std::vector<std::uint8_t> huge = {0x00, 0x00, 0x01, 0x01, 0x08, 0xFF, 0xFF, 0xFF,
                                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x2A};
  EXPECT_TRUE(decode(huge, worked_example_layout(), {}, {{5, kName}}).empty());
  TableLayout raw_first = worked_example_layout();
  raw_first.raw_contact_id_column = 0;
  EXPECT_TRUE(decode(kWorkedExample, raw_first, {}, {{5, kName}}).empty());
  TableLayout no_data1 = worked_example_layout();
  no_data1.data1_column = 0;
  EXPECT_TRUE(decode(kWorkedExample, no_data1, {}, {{5, kName}}).empty());
  TableLayout too_short = worked_example_layout();
  too_short.column_count = 5;
  EXPECT_TRUE(decode(kWorkedExample, too_short, {}, {{5, kName}}).empty());
  EXPECT_TRUE(decode({}, worked_example_layout(), {}, {{5, kName}}).empty());
}

}  // namespace
}  // namespace qf
