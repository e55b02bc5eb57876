// Our own leaf-cell reader on whole cells and on bytes that only look like
// one: a cell is taken only when its lengths add up, and never read past its
// page.
#include "records/leaf_cell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/overflow_chain.h"
#include "tests/records/record_bytes.h"

namespace qf {
namespace {

using test::append_varint;
using test::Column;

constexpr std::uint32_t kUsable = 512;

// A leaf table cell of `columns` under `row_id`, the header length moved by
// `header_skew` and the payload length by `payload_skew`.
std::vector<std::uint8_t> cell_of(const std::vector<Column>& columns, std::int64_t row_id, int header_skew = 0,
                                  int payload_skew = 0) {
  std::vector<std::uint8_t> types;
  for (const Column& c : columns) {
    append_varint(types, c.type);
  }
  std::vector<std::uint8_t> record;
  append_varint(record, types.size() + 1 + header_skew);
  record = test::concat(record, test::record_tail(columns));
  std::vector<std::uint8_t> cell;
  append_varint(cell, record.size() + payload_skew);
  append_varint(cell, static_cast<std::uint64_t>(row_id));
  return test::concat(cell, record);
}

TEST(LeafCell, WholeCellGivesItsRowIdAndValuesNulBytesIncluded) {
  const std::string text("a\0b", 3);
  std::vector<std::uint8_t> page = cell_of({test::null_column(), test::int_column(42), test::text_column(text)}, 7);
  const std::size_t size = page.size();
  page.resize(kUsable);
  LeafCell cell;
  ASSERT_TRUE(read_leaf_cell({page.data(), page.size()}, 0, kUsable, nullptr, cell));
  EXPECT_EQ(cell.row_id, 7);
  EXPECT_EQ(cell.extent, size);
  EXPECT_EQ(cell.column_count(), 3);
  EXPECT_EQ(cell_integer(cell, 1), 42);
  EXPECT_EQ(cell_text(cell, 2), text);
  EXPECT_EQ(cell_text(cell, 1), "42");
  EXPECT_EQ(cell_text(cell, 0), "");
  EXPECT_EQ(cell_text(cell, 9), "");  // a column the row is too old to have
}

TEST(LeafCell, BytesWhoseLengthsDoNotAddUpAreNoCell) {
  const std::vector<Column> row = {test::int_column(5), test::text_column("hello there")};
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::size_t page_length;
  } cases[] = {
      {"payload one byte long", cell_of(row, 1, 0, 1), kUsable},
      {"payload one byte short", cell_of(row, 1, 0, -1), kUsable},
      {"header length off by one", cell_of(row, 1, 1), kUsable},
      {"cut by the page end", cell_of(row, 1), cell_of(row, 1).size() - 1},
      {"payload length 0", {0x00, 0x01, 0x02, 0x01}, kUsable},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> page = c.bytes;
    page.resize(std::max<std::size_t>(page.size(), kUsable));
    LeafCell cell;
    EXPECT_FALSE(read_leaf_cell({page.data(), c.page_length}, 0, kUsable, nullptr, cell)) << c.what;
  }
}

// A row longer than its page keeps its first bytes and the number of the
// first overflow page: the rest comes from the chain, or the cell is not read.
TEST(LeafCell, SpilledRowIsJoinedFromItsChainOrNotReadAtAll) {
  const std::string body(1500, 'x');
  const std::vector<std::uint8_t> whole = cell_of({test::int_column(3), test::text_column(body)}, 9);
  // Cell: 2-byte payload varint, 1-byte row id, then the record.
  const std::size_t record_start = 3;
  const std::uint64_t payload = whole.size() - record_start;
  const std::uint64_t local = local_payload_size(payload, kUsable);
  ASSERT_LT(local, payload);
  std::vector<std::uint8_t> page(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(record_start + local));
  for (std::uint8_t b : {0, 0, 0, 5}) page.push_back(b);  // first overflow page: 5
  page.resize(kUsable);
  const std::vector<std::uint8_t> rest(whole.begin() + static_cast<std::ptrdiff_t>(record_start + local), whole.end());
  std::uint32_t asked = 0;
  const OverflowReader chain = [&](std::uint32_t first, std::uint64_t length, std::vector<std::uint8_t>& out) {
    asked = first;
    if (length != rest.size()) return false;
    out.insert(out.end(), rest.begin(), rest.end());
    return true;
  };
  LeafCell cell;
  ASSERT_TRUE(read_leaf_cell({page.data(), page.size()}, 0, kUsable, chain, cell));
  EXPECT_EQ(asked, 5u);
  EXPECT_EQ(cell_text(cell, 1), body);
  EXPECT_EQ(cell.extent, record_start + local + 4);
  const OverflowReader broken = [](std::uint32_t, std::uint64_t, std::vector<std::uint8_t>&) { return false; };
  EXPECT_FALSE(read_leaf_cell({page.data(), page.size()}, 0, kUsable, broken, cell));
}

}  // namespace
}  // namespace qf
