// PNG: the 8-byte signature, then chunks of
//   0 length (big-endian, data bytes only)  4 type (four letters)
//   8 data  8+length CRC (4 bytes, over type and data)
// IHDR comes first (13 data bytes) with width at file offset 16 and height at
// 20; its CRC must match, which tells a real picture from chance bytes
// without a cap on its size. The walk then adds up the chunk lengths (through
// the device past the chunk, carve/file_bytes.h) and the file ends with the
// CRC of the IEND chunk.
#include <cstring>

#include "carve/carve_state.h"
#include "carve/crc32.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kSignature = 8;
constexpr std::uint64_t kChunkOverhead = 12;  // length, type, CRC
constexpr std::uint64_t kHeaderEnd = kSignature + kChunkOverhead + 13;
constexpr std::uint32_t kLargestLength = 0x7FFFFFFF;

bool plausible_side(std::uint32_t pixels) { return pixels >= 1 && pixels <= kLargestLength; }
bool letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool valid_header(const unsigned char* s) {
  return be32(s + 8) == 13 && std::memcmp(s + 12, "IHDR", 4) == 0 && plausible_side(be32(s + 16)) &&
         plausible_side(be32(s + 20)) && crc32(s + 12, 17) == be32(s + 29);
}

}  // namespace

const unsigned char* extract_png(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!has_bytes(R, 0, kHeaderEnd)) return state.device ? go_on_at(s, R, kSignature) : nullptr;
  if (!valid_header(s)) return go_on_at(s, R, kSignature);

  file_bytes bytes(state, s, R, base + m);
  std::uint64_t p = kHeaderEnd;
  for (;;) {
    const unsigned char* chunk = bytes.at(p, 8);
    // Data that runs out within the type's limit: without the device the
    // scan loop re-reads the file instead of losing it at a chunk end.
    if (!chunk) return !state.device && R < entry.max_len ? nullptr : go_on_at(s, R, kSignature);
    const std::uint32_t length = be32(chunk);
    if (length > kLargestLength || !letter(chunk[4]) || !letter(chunk[5]) || !letter(chunk[6]) ||
        !letter(chunk[7])) {
      return go_on_at(s, R, p);
    }
    const std::uint64_t end = p + kChunkOverhead + length;
    if (end > entry.max_len) return go_on_at(s, R, kSignature);
    if (std::memcmp(chunk + 4, "IEND", 4) == 0) {
      if (!bytes.holds(end)) return !state.device && R < entry.max_len ? nullptr : go_on_at(s, R, kSignature);
      record_found_file(entry, state, end, base + m, true);
      return go_on_at(s, R, end);
    }
    p = end;
  }
}

}  // namespace qf
