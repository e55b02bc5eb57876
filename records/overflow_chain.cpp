#include "records/overflow_chain.h"

#include <algorithm>
#include <unordered_set>

#include "records/btree_walk.h"
#include "records/db_page.h"

namespace qf {
namespace {

using db_page::be32;

constexpr std::uint64_t kReservedBytesOffset = 20;
constexpr std::uint32_t kMinUsableSize = 480;
constexpr std::uint32_t kNextPageSize = 4;

}  // namespace

std::uint64_t local_payload_size(std::uint64_t payload, std::uint32_t usable_size) {
  const std::uint64_t max_local = usable_size - 35;
  if (payload <= max_local) return payload;
  const std::uint64_t min_local = (std::uint64_t{usable_size - 12} * 32 / 255) - 23;
  const std::uint64_t surplus = min_local + (payload - min_local) % (usable_size - kNextPageSize);
  return surplus <= max_local ? surplus : min_local;
}

bool read_usable_size(const DbFile& file, std::uint32_t page_size, std::uint32_t& usable_size) {
  std::uint8_t reserved = 0;
  if (file.read_at(kReservedBytesOffset, &reserved, 1) != 1) return false;
  if (page_size < kMinUsableSize + reserved) return false;
  usable_size = page_size - reserved;
  return true;
}

bool read_overflow_chain(const OverflowChain& chain, std::uint32_t first_page, std::uint64_t length,
                         std::vector<std::uint8_t>& out) {
  if (chain.usable_size <= kNextPageSize || chain.usable_size > chain.page_size) return false;
  const std::size_t kept = out.size();
  const std::uint64_t per_page = chain.usable_size - kNextPageSize;
  std::unordered_set<std::uint32_t> visited;
  std::uint32_t page = first_page;
  while (length > 0) {
    if (page < 2 || page > chain.page_count || !visited.insert(page).second) break;
    std::uint64_t start = page_start(page, chain.page_size);
    if (chain.locate && !chain.locate(page, start)) break;
    std::uint8_t next[kNextPageSize];
    if (chain.file.read_at(start, next, kNextPageSize) != kNextPageSize) break;
    const auto take = static_cast<std::size_t>(std::min(length, per_page));
    const std::size_t at = out.size();
    out.resize(at + take);
    if (chain.file.read_at(start + kNextPageSize, out.data() + at, take) != take) break;
    length -= take;
    page = be32(next);
  }
  if (length == 0) return true;
  out.resize(kept);
  return false;
}

}  // namespace qf
