// MPEG program streams (MPEG-1 system streams, MPEG-2 as on VCDs and DVDs):
// packs, each a pack header followed by packets, ended by the end code.
//   pack header 00 00 01 BA: MPEG-1 (byte 4 = 0010xxxx) 12 bytes; MPEG-2
//     (byte 4 = 01xxxxxx) 14 bytes plus 0 ... 7 stuffing bytes (low 3 bits of
//     byte 13)
//   packets 00 00 01 id with id BB ... FF: a big-endian 16-bit length after
//     the start code (system header, padding, audio, video, private)
//   end code 00 00 01 B9
// Zero bytes may pad the space between packs. The walk adds up the lengths
// (through the device past the chunk, carve/file_bytes.h); the stream ends
// with its end code, or where the structure stops (as many muxers write it,
// after the last packet). A first pack must be followed by a system header
// or a packet.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kSmallestStream = 1024;
constexpr std::uint64_t kMaxPadding = 65536;  // zero bytes between packs
constexpr unsigned char kPack = 0xBA, kSystemHeader = 0xBB, kEndCode = 0xB9;

bool start_code(const unsigned char* h) { return h[0] == 0 && h[1] == 0 && h[2] == 1; }

// Length of the pack header at h, or 0 when it is neither kind.
std::uint64_t pack_length(const unsigned char* h) {
  if ((h[4] & 0xC0) == 0x40) return 14 + (h[13] & 7);
  if ((h[4] & 0xF0) == 0x20) return 12;
  return 0;
}

enum class walk_end { end_code, structure, out_of_data };

struct stream_walk {
  walk_end how = walk_end::structure;
  std::uint64_t end = 0;
  int packets = 0;
};

// The offset of the start code after a run of zero padding at `p`, or 0.
std::uint64_t after_padding(file_bytes& bytes, std::uint64_t p) {
  std::uint64_t q = p;
  while (q - p < kMaxPadding) {
    std::size_t got = 0;
    const unsigned char* z = bytes.up_to(q, file_bytes::kMaxRead, got);
    if (!z) return 0;
    std::size_t i = 0;
    while (i < got && z[i] == 0) ++i;
    q += i;
    if (i < got) return z[i] == 1 && q - p >= 2 ? q - 2 : 0;
  }
  return 0;
}

stream_walk walk_stream(file_bytes& bytes, std::uint64_t max_len) {
  stream_walk walk;
  std::uint64_t p = 0;
  while (p < max_len) {
    walk.end = p;
    const unsigned char* h = bytes.at(p, 16);
    if (!h) {
      walk.how = walk_end::out_of_data;
      return walk;
    }
    if (!start_code(h)) {
      const std::uint64_t next = h[0] == 0 ? after_padding(bytes, p) : 0;
      if (next <= p) return walk;
      p = next;
      continue;
    }
    const unsigned char id = h[3];
    std::uint64_t length = 0;
    if (id == kEndCode) {
      walk.how = walk_end::end_code;
      walk.end = p + 4;
      return walk;
    }
    if (id == kPack) {
      length = pack_length(h);
    } else if (id >= kSystemHeader) {
      length = be16(h + 4) == 0 ? 0 : 6 + be16(h + 4);
      ++walk.packets;
    }
    if (length == 0) return walk;
    if (!bytes.holds(p + length)) {
      walk.how = walk_end::out_of_data;
      return walk;
    }
    p += length;
  }
  walk.end = max_len;
  return walk;
}

}  // namespace

const unsigned char* extract_mpeg(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!has_bytes(R, 0, 32)) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  const std::uint64_t first = pack_length(s);
  if (first == 0 || !start_code(s + first) || s[first + 3] < kSystemHeader) return go_on_at(s, R, entry.header_len);

  file_bytes bytes(state, s, R, base + m);
  const stream_walk walk = walk_stream(bytes, entry.max_len);
  // Without the device, a stream that runs past the data is the loop's to re-read.
  if (walk.how == walk_end::out_of_data && !state.device && R < entry.max_len) return nullptr;
  if (walk.end < kSmallestStream || walk.packets == 0) return go_on_at(s, R, entry.header_len);
  record_found_file(entry, state, walk.end, base + m, walk.how == walk_end::end_code);
  return go_on_at(s, R, walk.end);
}

}  // namespace qf
