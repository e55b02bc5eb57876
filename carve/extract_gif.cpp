// GIF: the file is walked block by block to its trailer, because the bytes
// 00 3B also occur inside LZW image data (every animated GIF holds them), so a
// search for them cuts most files short.
//
// Layout (GIF87a / GIF89a):
//   0  "GIF87a" or "GIF89a"
//   6  logical screen descriptor, 7 bytes; byte 10 bit 7: global colour table
//      follows, bits 0-2: it holds 2^(n+1) RGB triples
//   then blocks: 21 label sub-blocks... (extension)
//                2C 9-byte image descriptor (byte 9 as above for a local
//                   table), [colour table], LZW code size, sub-blocks...
//                3B trailer: the last byte of the file
//   a sub-block chain is size byte, data, ... ended by a size byte of 0.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr unsigned char kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr std::uint64_t kScreenDescriptorEnd = 13;
constexpr std::uint64_t kImageDescriptorSize = 10;  // 2C and 9 bytes

enum class walk_end { trailer, short_data, corrupt };

struct gif_walk {
  walk_end end = walk_end::short_data;
  std::uint64_t at = 0;  // the trailer byte
};

std::uint64_t colour_table_size(unsigned char packed) {
  return (packed & 0x80) ? 3ull << ((packed & 0x07) + 1) : 0;
}

// Skips a sub-block chain starting at `at`; false when it runs past `limit`
// or the bytes there.
bool skip_sub_blocks(file_bytes& bytes, std::uint64_t limit, std::uint64_t& at) {
  for (;;) {
    const unsigned char* size = at < limit ? bytes.at(at, 1) : nullptr;
    if (!size) return false;
    at += 1 + *size;
    if (*size == 0) return true;
  }
}

gif_walk walk_blocks(file_bytes& bytes, std::uint64_t limit) {
  gif_walk walk;
  const unsigned char* screen = bytes.at(0, kScreenDescriptorEnd);
  if (!screen) return walk;
  std::uint64_t at = kScreenDescriptorEnd + colour_table_size(screen[10]);
  for (;;) {
    const unsigned char* block = at < limit ? bytes.at(at, 1) : nullptr;
    if (!block) return walk;
    const unsigned char introducer = *block;
    if (introducer == kTrailer) {
      walk.end = walk_end::trailer;
      walk.at = at;
      return walk;
    }
    if (introducer == kExtension) {
      at += 2;  // introducer and label
    } else if (introducer == kImage) {
      const unsigned char* descriptor = bytes.at(at, kImageDescriptorSize);
      if (!descriptor) return walk;
      at += kImageDescriptorSize + colour_table_size(descriptor[9]) + 1;  // + LZW code size
    } else {
      walk.end = walk_end::corrupt;
      return walk;
    }
    if (!skip_sub_blocks(bytes, limit, at)) return walk;
  }
}

}  // namespace

const unsigned char* extract_gif(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < 6) return state.device ? go_on_at(s, R, 4) : nullptr;
  const bool known_version = (s[4] == '9' || s[4] == '7') && s[5] == 'a';
  if (!known_version) return go_on_at(s, R, 4);

  file_bytes bytes(state, s, R, base + m);
  const gif_walk walk = walk_blocks(bytes, entry.max_len);
  if (walk.end == walk_end::corrupt) return go_on_at(s, R, 4);
  // Out of data (or past the limit): without the device the loop re-reads.
  if (walk.end == walk_end::short_data) return state.device || R >= entry.max_len ? go_on_at(s, R, 4) : nullptr;
  const std::uint64_t size = walk.at + 1;
  record_found_file(entry, state, size, base + m, true);
  return go_on_at(s, R, size);
}

}  // namespace qf
