// Ogg (Opus and Vorbis audio, voice notes): a chain of pages, each
//   0 "OggS"  4 version 0  5 flags (2: first page of a stream, 4: last)
//   14 serial number  26 segment count n  27 n lacing values, then the data
//   (the sum of the lacing values).
// The walk adds up the page sizes (through the device past the chunk) from
// the first page, which must open its stream, to the page that closes the
// last stream still open. The suffix is "opus" for an Opus stream.
#include <cstring>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kPageHeader = 27;
constexpr unsigned char kFirstPage = 2, kLastPage = 4;
constexpr int kMaxStreams = 16;

struct page_walk {
  std::uint64_t end = 0;
  bool closed = false;  // every stream opened was closed
};

page_walk walk_pages(file_bytes& bytes, std::uint64_t max_len) {
  page_walk walk;
  std::uint32_t open[kMaxStreams];
  int streams = 0;
  std::uint64_t p = 0;
  while (p < max_len) {
    const unsigned char* h = bytes.at(p, kPageHeader);
    if (!h || std::memcmp(h, "OggS", 4) != 0 || h[4] != 0) break;
    const unsigned char flags = h[5];
    const std::uint32_t serial = le32(h + 14);
    const std::size_t segments = h[26];
    const unsigned char* lacing = bytes.at(p + kPageHeader, segments);
    if (!lacing) break;
    std::uint64_t data = 0;
    for (std::size_t i = 0; i < segments; ++i) data += lacing[i];
    int index = 0;
    while (index < streams && open[index] != serial) ++index;
    if (index == streams) {
      if (!(flags & kFirstPage) || streams == kMaxStreams) break;  // a page of no stream of this file
      open[streams++] = serial;
    }
    if (!bytes.holds(p + kPageHeader + segments + data)) break;
    p += kPageHeader + segments + data;
    walk.end = p;
    if (flags & kLastPage) {
      open[index] = open[--streams];
      if (streams == 0) {
        walk.closed = true;
        break;
      }
    }
  }
  if (walk.end > max_len) walk.end = 0;
  return walk;
}

}  // namespace

const unsigned char* extract_ogg(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!has_bytes(R, 0, kPageHeader + 1)) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  if (s[4] != 0 || !(s[5] & kFirstPage)) return go_on_at(s, R, entry.header_len);
  file_bytes bytes(state, s, R, base + m);
  const page_walk walk = walk_pages(bytes, entry.max_len);
  if (!walk.closed && !state.device && R < entry.max_len) return nullptr;  // the loop re-reads it
  if (walk.end == 0) return go_on_at(s, R, entry.header_len);
  const std::uint64_t first_packet = kPageHeader + s[26];
  const bool opus = has_bytes(R, first_packet, 8) && std::memcmp(s + first_packet, "OpusHead", 8) == 0;
  const std::string kept = entry.suffix;
  if (opus) entry.suffix = "opus";
  record_found_file(entry, state, walk.end, base + m, walk.closed);
  entry.suffix = kept;
  return go_on_at(s, R, walk.end);
}

}  // namespace qf
