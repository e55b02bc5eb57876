#pragma once
// The record lengths (number of columns) that really occur in a table. A
// table that was widened with ALTER TABLE keeps its older rows with fewer
// columns than the schema has; deleted rows of that age are only readable
// with the shorter length. Live cells still have intact headers, so their
// serial types are simply counted.
//
// Leaf table cell: payload-length varint, row-id varint, then the record:
// header-length varint (the header's size, itself included), serial types.
#include <cstdint>
#include <vector>

#include "records/db_file.h"

namespace qf {

// Distinct column counts of the live records on the given leaf pages, in
// ascending order. Cells whose header does not fit inside its page are
// skipped. One page is read at a time.
std::vector<int> learn_record_lengths(const DbFile& file, std::uint32_t page_size,
                                      const std::vector<std::uint32_t>& leaf_pages);

// The column count of the record whose cell begins at `cell` (an offset into
// `page`, `page_size` bytes long), or -1 when its header leaves the page.
int record_column_count(const std::uint8_t* page, std::uint32_t page_size, std::uint32_t cell);

}  // namespace qf
