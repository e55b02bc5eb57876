#include "records/btree_walk.h"

#include <climits>
#include <cstdint>
#include <set>
#include <unordered_set>

#include "records/db_page.h"

namespace qf {
namespace {

using namespace db_page;

// The children of an interior page in visit order: right-most first, then
// the cells' left children in cell pointer order. Pointers that would read
// outside the page are skipped.
std::vector<std::uint32_t> interior_children(const DbFile& file, std::uint32_t page_size,
                                             std::uint64_t start, const std::uint8_t* header) {
  std::vector<std::uint32_t> children;
  const std::uint32_t right_most = be32(header + kRightMostChild);
  if (right_most != 0) children.push_back(right_most);
  const std::uint32_t max_cells = (page_size - kInteriorHeaderSize) / 2;
  std::uint32_t cells = be16(header + kCellCount);
  if (cells > max_cells) cells = max_cells;
  std::vector<std::uint8_t> pointers(std::size_t{cells} * 2);
  const std::size_t got = file.read_at(start + kInteriorHeaderSize, pointers.data(), pointers.size());
  for (std::size_t i = 0; i + 1 < got; i += 2) {
    const std::uint32_t cell = be16(&pointers[i]);
    if (cell < kInteriorHeaderSize || cell + 4 > page_size) continue;
    std::uint8_t child[4];
    if (file.read_at(start + cell, child, 4) != 4) continue;
    if (be32(child) != 0) children.push_back(be32(child));
  }
  return children;
}

}  // namespace

bool read_page_size(const DbFile& file, std::uint32_t& page_size) {
  std::uint8_t bytes[2];
  if (file.read_at(kPageSizeOffset, bytes, 2) != 2) return false;
  const std::uint32_t size = be16(bytes) == kPageSizeField64K ? kMaxPageSize : be16(bytes);
  if (size < kMinPageSize || size > kMaxPageSize || (size & (size - 1)) != 0) return false;
  page_size = size;
  return true;
}

std::vector<std::uint32_t> walk_table_btree(const DbFile& file, std::uint32_t page_size,
                                            std::uint32_t root_page, std::vector<std::uint32_t>* damaged) {
  std::vector<std::uint32_t> leaves;
  std::unordered_set<std::uint32_t> visited;
  // An explicit stack instead of recursion: a damaged file can chain
  // thousands of interior pages. Children are pushed in reverse so that they
  // come off the stack in visit order, each subtree before the next child.
  std::vector<std::uint32_t> pending{root_page};
  while (!pending.empty()) {
    const std::uint32_t page = pending.back();
    pending.pop_back();
    if (page == 0 || !visited.insert(page).second) continue;
    const std::uint64_t start = page_start(page, page_size);
    std::uint8_t header[kInteriorHeaderSize];
    const std::size_t got = file.read_at(start, header, sizeof header);
    if (got >= 1 && header[0] == kLeafTable) {
      leaves.push_back(page);
    } else if (got == sizeof header && header[0] == kInteriorTable) {
      const std::vector<std::uint32_t> children = interior_children(file, page_size, start, header);
      pending.insert(pending.end(), children.rbegin(), children.rend());
    } else if (damaged != nullptr) {
      damaged->push_back(page);
    }
  }
  return leaves;
}

std::vector<std::uint32_t> find_leaf_table_pages(const DbFile& file, std::uint32_t page_size,
                                                 std::uint64_t page_count) {
  std::vector<std::uint32_t> leaves;
  for (std::uint64_t page = 2; page <= page_count && page <= UINT32_MAX; ++page) {
    std::uint8_t type = 0;
    const auto number = static_cast<std::uint32_t>(page);
    if (file.read_at(page_start(number, page_size), &type, 1) == 1 && type == kLeafTable) leaves.push_back(number);
  }
  return leaves;
}

FreeblockLists build_freeblock_lists(const DbFile& file, std::uint32_t page_size,
                                     const std::vector<std::uint32_t>& leaf_pages) {
  FreeblockLists lists;
  for (std::uint32_t page : leaf_pages) {
    if (lists.count(page) != 0) continue;
    const std::uint64_t start = page_start(page, page_size);
    std::uint8_t bytes[2];
    if (file.read_at(start + kFirstFreeblock, bytes, 2) != 2) continue;
    std::vector<std::uint16_t> chain;
    std::set<std::uint32_t> seen;
    std::uint32_t offset = be16(bytes);
    while (offset != 0 && offset + kFreeblockHeaderSize <= page_size && seen.insert(offset).second) {
      chain.push_back(static_cast<std::uint16_t>(offset));
      if (file.read_at(start + offset, bytes, 2) != 2) break;
      offset = be16(bytes);
    }
    if (!chain.empty()) lists.emplace(page, std::move(chain));
  }
  return lists;
}

}  // namespace qf
