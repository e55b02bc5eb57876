// JPEG: SOI (FF D8), then marker segments FF xx with a big-endian 16-bit length
// that counts itself but not the marker. The walk jumps over whole segments, so
// an EXIF thumbnail inside APP1 (with its own FF D9) is never taken for the
// end; the end is the first FF D9 after the last segment walked (entropy data
// never holds FF D9, since FF is stuffed with 00 there). A stream that another
// starts right after (the pictures of an MPO or multi-picture file) is kept
// whole with it. The walk and the search go on through the device past the
// chunk (carve/file_bytes.h), so a picture of any size up to the type's limit
// is delimited without reading it all into memory.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kMinimumJpeg = 128;
constexpr unsigned char kDqt = 0xDB, kDht = 0xC4, kDri = 0xDD, kCom = 0xFE;
constexpr unsigned char kEoi[] = {0xFF, 0xD9};

// Writers open with an application segment (APP0 JFIF, APP1 Exif, APP2 ICC or
// MPF, APP14 Adobe, ...), a comment, or straight with tables.
bool valid_first_marker(unsigned char code) {
  return (code >= 0xE0 && code <= 0xEF) || code == kCom || code == kDqt || code == kDht || code == kDri;
}

struct segment_walk {
  bool complete = false;  // false: a segment length pointed past the data
  std::uint64_t q = 0;    // the walk stopped with the next marker at q + 2
  bool quantisation = false;
  bool huffman = false;
};

// From the SOI at `q`: q sits two bytes before a marker, FF at q + 2, its code
// at q + 3, its length at q + 4.
segment_walk walk_segments(file_bytes& bytes, std::uint64_t q) {
  segment_walk walk;
  for (;;) {
    const unsigned char* length = bytes.at(q + 4, 2);
    if (!length) return walk;
    q += be16(length) + 2;
    const unsigned char* marker = bytes.at(q + 2, 3);
    if (!marker) return walk;
    if (marker[0] != 0xFF) break;
    if (marker[1] == 0xFF) {  // a fill byte before the marker code
      marker = bytes.at(++q + 2, 3);
      if (!marker) return walk;
    }
    if (marker[1] == kDqt || marker[2] == kDqt) {
      walk.quantisation = true;
    } else if (marker[1] == kDht) {
      walk.huffman = true;
    }
  }
  walk.complete = true;
  walk.q = q;
  return walk;
}

enum class stream_end { found, not_jpeg, out_of_data };

// The end (just past FF D9) of the stream whose SOI is at `start`.
stream_end end_of_stream(file_bytes& bytes, std::uint64_t start, std::uint64_t max_len, std::uint64_t& end) {
  const segment_walk walk = walk_segments(bytes, start);
  if (!walk.complete) return stream_end::out_of_data;
  if (!walk.quantisation || !walk.huffman) return stream_end::not_jpeg;
  if (walk.q >= max_len) return stream_end::not_jpeg;
  const std::uint64_t eoi = bytes.find(walk.q, max_len - walk.q, kEoi, sizeof kEoi);
  if (eoi == file_bytes::kNotFound || eoi + 2 > max_len) return stream_end::out_of_data;
  end = eoi + 2;
  return stream_end::found;
}

bool stream_starts_at(file_bytes& bytes, std::uint64_t at) {
  const unsigned char* p = bytes.at(at, 4);
  return p && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF && valid_first_marker(p[3]);
}

}  // namespace

const unsigned char* extract_jpeg(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < kMinimumJpeg && !state.device) return nullptr;
  if (!has_bytes(R, 0, 4) || !valid_first_marker(s[3])) return go_on_at(s, R, entry.header_len);
  file_bytes bytes(state, s, R, base + m);
  std::uint64_t end = 0;
  const stream_end first = end_of_stream(bytes, 0, entry.max_len, end);
  if (first == stream_end::not_jpeg) return go_on_at(s, R, entry.header_len);
  if (first == stream_end::out_of_data) {
    // Without the device the loop re-reads the file; with it, the bytes to
    // its limit were all looked at.
    return state.device || R >= entry.max_len ? go_on_at(s, R, entry.header_len) : nullptr;
  }
  std::uint64_t next_end = 0;
  while (stream_starts_at(bytes, end) && end_of_stream(bytes, end, entry.max_len, next_end) == stream_end::found) {
    end = next_end;
  }
  record_found_file(entry, state, end, base + m, true);
  return go_on_at(s, R, end);
}

}  // namespace qf
