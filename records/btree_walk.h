#pragma once
// Listing the leaf pages of one table's b-tree and the freeblock chain of
// each leaf page, by positioned reads of page headers and pointers only.
// Damaged files are expected: every page and every freeblock offset is
// visited at most once, and nothing is read from outside its page.
#include <cstdint>
#include <map>
#include <vector>

#include "records/db_file.h"

namespace qf {

using FreeblockLists = std::map<std::uint32_t, std::vector<std::uint16_t>>;

// Page p starts at byte (p - 1) x page_size.
inline std::uint64_t page_start(std::uint32_t page, std::uint32_t page_size) {
  return (std::uint64_t{page} - 1) * page_size;
}

// The page size stored at file offset 16, when it is one SQLite can write:
// a power of two from 512 to 65536, the stored value 1 meaning 65536.
bool read_page_size(const DbFile& file, std::uint32_t& page_size);

// Visit order from the root: an interior table page (type 5) visits its
// right-most child first, then the left children of its cells in cell
// pointer order; a leaf table page (type 13) is listed; every other type,
// and a page that cannot be read, ends that branch. Leaves come back in
// visit order; a cycle of child pointers is cut where it closes.
// With `damaged`, every page the tree points at that is neither an interior
// nor a leaf table page (or cannot be read) is appended to it: the tree is
// damaged there and leaves below those pages were not reached.
std::vector<std::uint32_t> walk_table_btree(const DbFile& file, std::uint32_t page_size,
                                            std::uint32_t root_page,
                                            std::vector<std::uint32_t>* damaged = nullptr);

// Every page of the file (of `page_count` pages, page 1 aside) whose type
// byte says leaf table page: where a damaged tree's leaves may still be.
std::vector<std::uint32_t> find_leaf_table_pages(const DbFile& file, std::uint32_t page_size,
                                                 std::uint64_t page_count);

// Each page of `leaf_pages` that has at least one freeblock gets its chain,
// in chain order. A chain ends at a next offset of 0, at an offset seen
// before on that page, or at one whose 4-byte header would leave the page.
// A page listed twice keeps its first entry.
FreeblockLists build_freeblock_lists(const DbFile& file, std::uint32_t page_size,
                                     const std::vector<std::uint32_t>& leaf_pages);

}  // namespace qf
