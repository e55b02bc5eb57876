#include "carve/quick_candidates.h"

#include "carve/extractor.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr int kMaskTypes = 64;  // bits of one mask
constexpr std::uint64_t kLead = 4;  // the only lead a type has besides 0
static_assert(kTypeSpecCapacity <= kMaskTypes, "every live type needs its bit");

int lowest_bit(std::uint64_t v) { return __builtin_ctzll(v); }

}  // namespace

// Bit t of first_[b] (second_[b]) is set when byte b may stand at position 0
// (1) of type t's header under its comparison rule (wildcard, letter case).
// A header shorter than two bytes allows any byte where it has none.
void quick_candidates::prepare(const type_spec* types, int type_count, std::uint64_t block) {
  block_ = block > 0 ? block : 1;
  types_ = type_count < kMaskTypes ? (type_count > 0 ? type_count : 0) : kMaskTypes;
  for (unsigned b = 0; b < 256; ++b) first_[b] = second_[b] = 0;
  led_types_ = 0;
  for (int t = 0; t < types_; ++t) {
    const type_spec& entry = types[t];
    const std::uint64_t bit = 1ull << t;
    lead_[t] = reread_lead(entry.type_code) == kLead ? kLead : 0;
    if (lead_[t] != 0) led_types_ |= bit;
    for (unsigned b = 0; b < 256; ++b) {
      const unsigned char data = static_cast<unsigned char>(b);
      if (entry.header_len < 1 || search_string_matches(&data, &entry.header[0], 1, entry.case_sensitive)) {
        first_[b] |= bit;
      }
      if (entry.header_len < 2 || search_string_matches(&data, &entry.header[1], 1, entry.case_sensitive)) {
        second_[b] |= bit;
      }
    }
  }
}

void quick_candidates::mark(const unsigned char* chunk, std::uint64_t n) {
  blocks_ = (n + block_ - 1) / block_;
  words_ = (blocks_ + 63) / 64;
  bits_.assign(words_ * static_cast<std::uint64_t>(types_), 0);
  if (types_ == 0) return;
  // A block start whose second byte lies past the data is marked on its
  // first byte alone; the header test there decides.
  auto at = [&](std::uint64_t p) { return first_[chunk[p]] & (p + 1 < n ? second_[chunk[p + 1]] : ~0ull); };
  for (std::uint64_t k = 0; k < blocks_; ++k) {
    const std::uint64_t p = k * block_;
    std::uint64_t m = at(p) & ~led_types_;
    if (led_types_ != 0 && p + kLead < n) m |= at(p + kLead) & led_types_;
    while (m) {
      const int t = lowest_bit(m);
      m &= m - 1;
      bits_[static_cast<std::uint64_t>(t) * words_ + (k >> 6)] |= 1ull << (k & 63);
    }
  }
}

bool quick_candidates::next(int index, std::uint64_t& position) const {
  if (index < 0 || index >= types_) return false;
  const std::uint64_t* bits = bits_.data() + static_cast<std::uint64_t>(index) * words_;
  std::uint64_t k = position / block_;
  if (k >= blocks_) return false;
  std::uint64_t w = k >> 6;
  std::uint64_t word = bits[w] & (~0ull << (k & 63));
  while (word == 0) {
    if (++w >= words_) return false;
    word = bits[w];
  }
  position = ((w << 6) + static_cast<std::uint64_t>(lowest_bit(word))) * block_;
  return true;
}

}  // namespace qf
