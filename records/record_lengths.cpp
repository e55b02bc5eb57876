#include "records/record_lengths.h"

#include <set>

#include "records/btree_walk.h"
#include "records/db_page.h"
#include "records/serial_type.h"

namespace qf {

int record_column_count(const std::uint8_t* page, std::uint32_t page_size, std::uint32_t cell) {
  std::uint64_t at = cell;
  SerialType varint;
  // Skip the payload length and the row id; then the header length.
  for (int i = 0; i < 2; ++i) {
    if (at >= page_size || !read_serial_type(page + at, page_size - at, varint)) return -1;
    at += static_cast<std::uint64_t>(varint.bytes_used);
  }
  if (at >= page_size || !read_serial_type(page + at, page_size - at, varint)) return -1;
  const std::uint64_t header_end = at + varint.type;
  if (varint.type < static_cast<std::uint32_t>(varint.bytes_used) || header_end > page_size) return -1;
  at += static_cast<std::uint64_t>(varint.bytes_used);
  int columns = 0;
  while (at < header_end) {
    if (!read_serial_type(page + at, header_end - at, varint)) return -1;
    at += static_cast<std::uint64_t>(varint.bytes_used);
    ++columns;
  }
  return columns;
}

std::vector<int> learn_record_lengths(const DbFile& file, std::uint32_t page_size,
                                      const std::vector<std::uint32_t>& leaf_pages) {
  std::set<int> lengths;
  std::vector<std::uint8_t> page(page_size);
  for (std::uint32_t number : leaf_pages) {
    if (file.read_at(page_start(number, page_size), page.data(), page.size()) != page.size()) continue;
    if (page[0] != db_page::kLeafTable) continue;
    std::uint32_t cells = db_page::be16(&page[db_page::kCellCount]);
    const std::uint32_t max_cells = (page_size - db_page::kLeafHeaderSize) / 2;
    if (cells > max_cells) cells = max_cells;
    for (std::uint32_t i = 0; i < cells; ++i) {
      const std::uint32_t cell = db_page::be16(&page[db_page::kLeafHeaderSize + 2 * i]);
      const int columns = record_column_count(page.data(), page_size, cell);
      if (columns > 0) lengths.insert(columns);
    }
  }
  return {lengths.begin(), lengths.end()};
}

}  // namespace qf
