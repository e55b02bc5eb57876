// JPEG: SOI (FF D8), then marker segments FF xx with a big-endian 16-bit length
// that counts itself but not the marker. The walk jumps over whole segments, so
// an EXIF thumbnail inside APP1 (with its own FF D9) is never taken for the
// end; the end is the first FF D9 after the last segment walked (entropy data
// never holds FF D9, since FF is stuffed with 00 there).
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kMinimumJpeg = 128;
constexpr unsigned char kApp0 = 0xE0, kApp1 = 0xE1, kDqt = 0xDB, kDht = 0xC4;

struct segment_walk {
  bool complete = false;  // false: a segment length pointed past the data
  std::uint64_t q = 0;    // the walk stopped with the next marker at q + 2
  bool quantisation = false;
  bool huffman = false;
};

// q sits two bytes before a marker: FF at q + 2, its code at q + 3, its length
// at q + 4.
segment_walk walk_segments(const unsigned char* s, std::uint64_t R) {
  segment_walk walk;
  std::uint64_t q = 0;
  for (;;) {
    if (!has_bytes(R, q + 4, 2)) return walk;
    const std::uint64_t length = be16(s + q + 4);
    if (!has_bytes(R, q, length + 2 + 1)) return walk;
    q += length + 2;
    if (!has_bytes(R, q + 2, 2) || s[q + 2] != 0xFF) break;
    if (s[q + 3] == 0xFF) ++q;  // a fill byte before the marker code
    if (!has_bytes(R, q + 3, 2)) return walk;
    const unsigned char code = s[q + 3];
    if (code == kDqt || s[q + 4] == kDqt) {
      walk.quantisation = true;
    } else if (code == kDht) {
      walk.huffman = true;
    }
  }
  walk.complete = true;
  walk.q = q;
  return walk;
}

}  // namespace

const unsigned char* extract_jpeg(carve_state& state, type_spec& entry, const unsigned char* s,
                                  std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  if (R < kMinimumJpeg) return nullptr;
  if (s[3] != kApp0 && s[3] != kApp1) return go_on_at(s, R, entry.header_len);
  const segment_walk walk = walk_segments(s, R);
  if (!walk.complete) return nullptr;
  if (!walk.quantisation || !walk.huffman) return go_on_at(s, R, entry.header_len);

  const std::uint64_t left = R - walk.q;
  const unsigned char* footer = find_footer(entry, s + walk.q, left < entry.max_len ? left : entry.max_len);
  if (!footer) return nullptr;
  const std::uint64_t size = static_cast<std::uint64_t>(footer - s) + 2;
  record_found_file(entry, state, size, base + m);
  return go_on_at(s, R, size);
}

}  // namespace qf
