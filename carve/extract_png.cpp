// PNG: the 8-byte signature, then chunks of
//   0 length (big-endian, data bytes only)  4 type (four letters)
//   8 data  8+length CRC (4 bytes)
// IHDR comes first with width at file offset 16 and height at 20. The file
// ends with the CRC of the IEND chunk.
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

#include <cstring>

namespace qf {
namespace {

constexpr std::uint64_t kSignature = 8;
constexpr std::uint64_t kChunkOverhead = 12;  // length, type, CRC
constexpr std::uint32_t kLargestSide = 3000;

bool plausible_side(std::uint32_t pixels) { return pixels >= 1 && pixels <= kLargestSide; }
bool printable(unsigned char c) { return c >= 0x20 && c < 0x7F; }

}  // namespace

const unsigned char* extract_png(carve_state& state, type_spec& entry, const unsigned char* s,
                                 std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  if (R < 100) return nullptr;
  if (!plausible_side(be32(s + 16)) || !plausible_side(be32(s + 20))) return go_on_at(s, R, kSignature);

  // A walk that runs out of data within the type's limit gives up, so the
  // scan loop re-reads the file from the device instead of losing it at a
  // chunk end.
  const auto out_of_data = [&](std::uint64_t p) {
    return R < entry.max_len ? nullptr : go_on_at(s, R, p);
  };
  std::uint64_t p = kSignature;
  for (;;) {
    if (!has_bytes(R, p, 4)) return out_of_data(p);
    const std::int32_t length = static_cast<std::int32_t>(be32(s + p));
    if (length <= 0) return go_on_at(s, R, p);
    const std::uint64_t walked = p;
    const std::uint64_t next = p + static_cast<std::uint64_t>(length) + kChunkOverhead;
    if (!has_bytes(R, next, 8)) return out_of_data(walked);
    p = next;
    if (!printable(s[p + 4])) return go_on_at(s, R, walked);
    if (std::memcmp(s + p + 4, "IEND", 4) == 0) {
      std::uint64_t size = p + kChunkOverhead + be32(s + p);
      if (size > R) size = R;
      record_found_file(entry, state, size, base + m);
      return go_on_at(s, R, size);
    }
  }
}

}  // namespace qf
