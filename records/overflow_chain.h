#pragma once
// The overflow chain of a row too long for its leaf page. The cell keeps the
// first bytes of the row (its local part) followed by the 4-byte number of
// the first overflow page; the rest of the row lies in the chain.
//
// Overflow page:
//   offset 0, 4 bytes   next overflow page (0 = last)
//   offset 4            usable_size - 4 bytes of the row's payload
// The usable size is the page size less the reserved bytes at the end of
// every page (file header offset 20, 1 byte).
//
// When a row is deleted its chain goes to the freelist; without secure delete
// the pages keep their bytes until they are reused, so a freed long row can
// still be read whole.
#include <cstdint>
#include <functional>
#include <vector>

#include "records/db_file.h"

namespace qf {

// How many bytes of a table-leaf row of `payload` bytes SQLite keeps in the
// cell, on pages of `usable_size` bytes; the rest goes to overflow pages.
std::uint64_t local_payload_size(std::uint64_t payload, std::uint32_t usable_size);

// The usable size of the file's pages: page size less the reserved bytes.
// False when the reserved count leaves less than SQLite's minimum (480).
bool read_usable_size(const DbFile& file, std::uint32_t page_size, std::uint32_t& usable_size);

struct OverflowChain {
  const DbFile& file;
  std::uint32_t page_size = 0;
  std::uint32_t usable_size = 0;
  std::uint64_t page_count = 0;  // pages of the database: the chain stays inside it
  // Where a page's bytes start in `file`; by default the database's layout.
  // A side file (-wal, -journal) names where its image of the page lies, or
  // false when it holds none.
  std::function<bool(std::uint32_t page, std::uint64_t& start)> locate;
};

// Appends `length` bytes of payload from the chain that starts at
// `first_page` to `out`. Reads no more pages than `length` needs. False, with
// `out` as it was, when the chain ends early, names page 0, 1 or a page past
// the file's end, or comes back to a page it has visited.
bool read_overflow_chain(const OverflowChain& chain, std::uint32_t first_page, std::uint64_t length,
                         std::vector<std::uint8_t>& out);

}  // namespace qf
