#include "records/freelist_pages.h"

#include <unordered_set>

#include "records/btree_walk.h"
#include "records/db_page.h"

namespace qf {
namespace {

using namespace db_page;

constexpr std::uint64_t kFirstTrunkOffset = 32;
constexpr std::uint32_t kTrunkHeaderSize = 8;
// A freelist leaf keeps its old page whole; its first bytes are the header
// of the b-tree page it was, which the decoders may read past.
constexpr std::uint32_t kLeafOldContentFrom = kLeafHeaderSize;

}  // namespace

std::vector<FreelistPage> list_freelist_pages(const DbFile& file, std::uint32_t page_size,
                                              std::uint64_t file_size) {
  std::vector<FreelistPage> pages;
  const std::uint64_t last_page = file_size / page_size;
  std::unordered_set<std::uint32_t> seen;
  auto fresh = [&](std::uint32_t page) { return page >= 2 && page <= last_page && seen.insert(page).second; };
  std::uint8_t bytes[kTrunkHeaderSize];
  if (file.read_at(kFirstTrunkOffset, bytes, 4) != 4) return pages;
  std::uint32_t trunk = be32(bytes);
  const std::uint32_t max_leaves = (page_size - kTrunkHeaderSize) / 4;
  std::vector<std::uint8_t> numbers;
  while (fresh(trunk)) {
    const std::uint64_t start = page_start(trunk, page_size);
    if (file.read_at(start, bytes, kTrunkHeaderSize) != kTrunkHeaderSize) break;
    std::uint32_t leaves = be32(bytes + 4);
    if (leaves > max_leaves) leaves = max_leaves;
    pages.push_back({trunk, kTrunkHeaderSize + 4 * leaves});
    numbers.resize(std::size_t{leaves} * 4);
    const std::size_t got = file.read_at(start + kTrunkHeaderSize, numbers.data(), numbers.size());
    for (std::size_t i = 0; i + 3 < got; i += 4) {
      const std::uint32_t leaf = be32(&numbers[i]);
      if (fresh(leaf)) pages.push_back({leaf, kLeafOldContentFrom});
    }
    trunk = be32(bytes);
  }
  return pages;
}

}  // namespace qf
