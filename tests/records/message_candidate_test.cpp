#include "records/message_candidate.h"

#include <gtest/gtest.h>

#include "records/date_text.h"
#include "records/message_row.h"
#include "tests/records/record_bytes.h"

namespace qf {
namespace {

using namespace test;

// The sms table of an Android 4.4 phone: _id, thread_id, address, person,
// date, date_sent, protocol, read, status, type, reply_path_present,
// subject, body, service_center, locked, error_code, seen.
TableLayout sms_layout(int column_count = 17) {
  TableLayout layout;
  layout.root_page = 2;
  layout.column_count = column_count;
  layout.thread_id_column = 1;
  layout.address_column = 2;
  layout.date_column = 4;
  layout.type_column = 9;
  layout.body_column = 12;
  return layout;
}

struct Sms {
  std::int64_t thread_id = 3;
  std::string address = "+15551234";
  std::int64_t date = 1700000000123;
  std::int64_t type = 1;
  std::string body = "See you at 8";
};

std::vector<Column> sms_columns(const Sms& m, int column_count = 17) {
  std::vector<Column> c(static_cast<std::size_t>(column_count));
  c[1] = int_column(m.thread_id);
  c[2] = text_column(m.address);
  c[4] = int_column(m.date);
  c[5] = int_column(0);
  c[7] = int_column(1);
  c[8] = int_column(-1);
  c[9] = int_column(m.type);
  c[12] = text_column(m.body);
  c[14] = int_column(0);
  c[15] = int_column(0);
  c[16] = int_column(1);
  return c;
}

// A freed row as a freeblock leaves it: column 0's serial type and
// everything before it are gone.
std::vector<std::uint8_t> freed_sms(const Sms& m, int column_count = 17) {
  return record_tail(sms_columns(m, column_count), 1);
}

ConversationTable decode(const std::vector<std::uint8_t>& region, const TableLayout& layout = sms_layout(),
                         const CandidateOptions& options = {}) {
  ConversationTable table;
  MessageCandidate(region.data(), region.size(), layout, table, options);
  return table;
}

int rows_found(const std::vector<std::uint8_t>& region, const CandidateOptions& options = {},
               const TableLayout& layout = sms_layout()) {
  MessageRowPattern pattern{layout.column_count, layout.address_column, layout.body_column,
                            layout.thread_id_column, layout.date_column, layout.type_column};
  int count = 0;
  find_message_rows({region.data(), region.size()}, pattern, options, [&](const MessageRow&) { ++count; });
  return count;
}

TEST(MessageCandidate, FreedRowBecomesADeletedMessageWithItsFields) {
  Sms m;
  m.body = "Grüße \xF0\x9F\x98\x80\nline two";
  const ConversationTable table = decode(concat({0x00, 0x37, 0x11}, freed_sms(m)));
  ASSERT_EQ(table.size(), 1u);
  const ConversationRecord& c = table.begin()->second;
  EXPECT_TRUE(c.deleted);
  EXPECT_TRUE(c.checked);
  EXPECT_EQ(c.address, m.address);
  EXPECT_EQ(c.thread_id, 3);
  ASSERT_EQ(c.messages.size(), 1u);
  const MessageRecord& r = c.messages[0];
  EXPECT_TRUE(r.deleted);
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.thread_id, 3);
  EXPECT_EQ(r.address, m.address);
  EXPECT_EQ(r.body, m.body);
  EXPECT_EQ(r.date_text, DateTextFromMillis(m.date));
}

TEST(MessageCandidate, RowsMissingWhatAMessageNeedsAreNotRecognised) {
  std::vector<Column> no_date = sms_columns(Sms{});
  no_date[4] = null_column();
  std::vector<Column> no_thread = sms_columns(Sms{});
  no_thread[1] = null_column();
  std::vector<Column> empty_body = sms_columns(Sms{});
  empty_body[12] = text_column("");
  std::vector<Column> blob_address = sms_columns(Sms{});
  blob_address[2] = blob_column({'5', 0x01});
  for (const auto& columns : {no_date, no_thread, empty_body, blob_address}) {
    EXPECT_TRUE(decode(record_tail(columns, 1)).empty());
  }
  EXPECT_EQ(decode(freed_sms(Sms{})).size(), 1u);
}

TEST(MessageCandidate, HeaderVarintOfFiveBytesRejectsTheStart) {
  std::vector<std::uint8_t> bytes = freed_sms(Sms{});
  // The `type` serial type 9 (column 9, the ninth header byte) as a
  // non-minimal 5-byte varint.
  ASSERT_EQ(bytes[8], 9);
  bytes[8] = 0x09;
  bytes.insert(bytes.begin() + 8, {0x80, 0x80, 0x80, 0x80});
  EXPECT_EQ(rows_found(bytes), 0);
  bytes.erase(bytes.begin() + 8);  // four bytes is still allowed
  EXPECT_EQ(rows_found(bytes), 1);
}

TEST(MessageCandidate, TypeStoredAsTheConstantOneIsReceivedAndOnlyLow32BitsCount) {
  Sms received;
  received.type = 1;
  EXPECT_EQ(sms_columns(received)[9].type, 9u);
  EXPECT_EQ(decode(freed_sms(received)).begin()->second.messages[0].type, 1);
  Sms odd;
  odd.type = (std::int64_t{1} << 32) + 2;
  EXPECT_EQ(decode(freed_sms(odd)).begin()->second.messages[0].type, 2);
}

TEST(MessageCandidate, SameMessageFoundTwiceIsStoredOnceDifferentOnesAreKept) {
  Sms a;
  Sms b;
  b.body = "Running late";
  Sms other_thread;
  other_thread.thread_id = 9;
  const auto region = concat(concat(concat(freed_sms(a), freed_sms(a)), freed_sms(b)), freed_sms(other_thread));
  const ConversationTable table = decode(region);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table.begin()->second.messages.size(), 2u);  // thread 3: a and b
  EXPECT_EQ(std::next(table.begin())->second.thread_id, 9);
  // The backup copy's scan files into the same table: nothing new.
  ConversationTable twice = decode(region);
  MessageCandidate(region.data(), region.size(), sms_layout(), twice, {});
  EXPECT_EQ(twice.begin()->second.messages.size(), 2u);
}

TEST(MessageCandidate, RegionEndingInsideARowHeaderKeepsTheRowsBeforeIt) {
  const std::vector<std::uint8_t> whole = freed_sms(Sms{});
  const std::vector<std::uint8_t> region = concat(whole, {whole.begin(), whole.begin() + 6});
  for (bool reject : {false, true}) {
    CandidateOptions options;
    options.rules.reject_overrunning_start = reject;
    EXPECT_EQ(rows_found(region, options), 1);
  }
}

TEST(MessageCandidate, RowsWrittenBeforeColumnsWereAddedNeedTheirOwnLength) {
  // Upgraded phone: the table now has 19 columns; this row has 17.
  const TableLayout layout = sms_layout(19);
  Sms old;
  old.body = "written before the upgrade";
  const std::vector<std::uint8_t> region = concat({0x05, 0x00}, freed_sms(old, 17));
  CandidateOptions learned;
  learned.record_lengths = {17, 19};
  const ConversationTable found = decode(region, layout, learned);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found.begin()->second.messages[0].body, old.body);
  EXPECT_EQ(found.begin()->second.messages[0].date_text, DateTextFromMillis(old.date));
  CandidateOptions off = learned;
  off.rules.learned_record_lengths = false;
  for (const auto& [key, conversation] : decode(region, layout, off)) {
    for (const MessageRecord& m : conversation.messages) EXPECT_NE(m.body, old.body);
  }
  // Full-length rows are still read at full length.
  EXPECT_EQ(decode(freed_sms(old, 19), layout, learned).begin()->second.messages[0].body, old.body);
}

TEST(MessageCandidate, LayoutsWithoutAUsablePatternAreNotDecoded) {
  const std::vector<std::uint8_t> region = freed_sms(Sms{});
  TableLayout one_column = sms_layout();
  one_column.column_count = 1;
  EXPECT_TRUE(decode(region, one_column).empty());
  TableLayout missing_body = sms_layout();
  missing_body.body_column = 0;
  EXPECT_TRUE(decode(region, missing_body).empty());
  TableLayout past_end = sms_layout();
  past_end.type_column = 17;
  EXPECT_TRUE(decode(region, past_end).empty());
}

}  // namespace
}  // namespace qf
