#include "carve/scan_loop_indirect.h"

#include <cstring>

#include "carve/extract_bytes.h"

namespace qf {

bool indirect_block_at(const unsigned char* p, std::uint64_t remaining, unsigned bs) {
  const std::uint64_t words = bs / 4;
  if (words <= 1) return false;
  const std::uint64_t at = 12ull * bs;
  if (!has_bytes(remaining, at, bs)) return false;
  const unsigned char* block = p + at;
  std::uint64_t k = 0;
  for (; k < words - 1; ++k) {
    const std::uint32_t w = le32(block + 4 * k);
    if (w == 0) break;
    if (k > 0 && w != le32(block + 4 * (k - 1)) + 1) return false;
  }
  if (k == 0) return false;
  for (; k < words; ++k) {
    if (le32(block + 4 * k) != 0) return false;
  }
  return true;
}

bool indirect_block_removal::remove(unsigned char* p, std::uint64_t remaining) {
  for (unsigned bs : {4096u, 1024u, 512u}) {
    if (!indirect_block_at(p, remaining, bs)) continue;
    if (13ull * bs >= remaining) return false;
    at_ = p + 12ull * bs;
    tail_ = remaining - 13ull * bs;
    bs_ = bs;
    saved_.assign(at_, at_ + bs);
    std::memmove(at_, at_ + bs, tail_);
    return true;
  }
  return false;
}

void indirect_block_removal::restore() {
  if (!at_) return;
  std::memmove(at_ + bs_, at_, tail_);
  std::memcpy(at_, saved_.data(), bs_);
  at_ = nullptr;
}

}  // namespace qf
