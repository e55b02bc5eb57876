#include "records/text_test.h"

namespace qf {
namespace {

bool continuation(std::uint8_t b) { return b >= 0x80 && b <= 0xBF; }

// Length of the allowed sequence that starts at p[0] (at most `left` bytes),
// or 0 when none does. The second byte's range depends on the lead byte.
std::size_t sequence_length(const std::uint8_t* p, std::size_t left) {
  const std::uint8_t lead = p[0];
  if (lead == 0x09 || lead == 0x0A || lead == 0x0D || (lead >= 0x20 && lead <= 0x7E)) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (length > left) return 0;
  if (p[1] < low || p[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!continuation(p[i])) return 0;
  }
  return length;
}

}  // namespace

bool passes_text_test(const std::uint8_t* p, std::size_t length) {
  std::size_t i = 0;
  while (i < length) {
    const std::size_t used = sequence_length(p + i, length - i);
    if (used == 0) return false;
    i += used;
  }
  return true;
}

}  // namespace qf
