// MP3 with an ID3v2 tag ("ID3", version, flags, a 28-bit size in four 7-bit
// bytes at 6; flag 0x10: a 10-byte footer follows the tag), then MPEG audio
// frames, each with a 4-byte header:
//   11 sync bits, version (3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5), layer
//   (3: I, 2: II, 1: III), bit-rate index, sample-rate index, padding bit
// whose fields give the frame's length. The walk adds up the frame lengths
// (through the device past the chunk); the file ends after the last frame,
// and after the 128-byte ID3v1 tag ("TAG") when one follows.
#include <cstring>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kTagHeader = 10;
constexpr std::uint64_t kId3v1 = 128;
constexpr int kMinimumFrames = 2;

// Kilobits per second by [MPEG-1?][layer I, II, III][index].
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}},
};
constexpr int kSampleRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// The length of the frame whose header is at h, or 0 when it is none.
std::uint64_t frame_length(const unsigned char* h) {
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return 0;
  const int version = (h[1] >> 3) & 3;
  const int layer = (h[1] >> 1) & 3;  // 3: I, 2: II, 1: III
  const int rate_index = (h[2] >> 2) & 3;
  if (version == 1 || layer == 0 || rate_index == 3) return 0;
  const int kbps = kBitrates[version == 3][3 - layer][h[2] >> 4];
  const int rate = kSampleRates[version][rate_index];
  if (kbps <= 0 || rate == 0) return 0;  // free format cannot be followed
  const std::uint64_t padding = (h[2] >> 1) & 1;
  const std::uint64_t bits = static_cast<std::uint64_t>(kbps) * 1000;
  if (layer == 3) return (12 * bits / rate + padding) * 4;
  const std::uint64_t factor = layer == 1 && version != 3 ? 72 : 144;
  return factor * bits / rate + padding;
}

std::uint64_t tag_length(const unsigned char* s) {
  const std::uint64_t size = (static_cast<std::uint64_t>(s[6] & 0x7F) << 21) | ((s[7] & 0x7F) << 14) |
                             ((s[8] & 0x7F) << 7) | (s[9] & 0x7F);
  return kTagHeader + size + ((s[5] & 0x10) ? kTagHeader : 0);
}

}  // namespace

const unsigned char* extract_mp3(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!has_bytes(R, 0, kTagHeader)) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  if (s[3] < 2 || s[3] > 4 || (s[6] | s[7] | s[8] | s[9]) & 0x80) return go_on_at(s, R, entry.header_len);
  file_bytes bytes(state, s, R, base + m);
  std::uint64_t p = tag_length(s);
  if (!bytes.holds(p)) return go_on_at(s, R, entry.header_len);
  int frames = 0;
  bool out_of_data = false;
  while (p < entry.max_len) {
    const unsigned char* h = bytes.at(p, 4);
    if (!h) {
      out_of_data = true;
      break;
    }
    const std::uint64_t length = frame_length(h);
    if (length == 0) break;
    if (!bytes.holds(p + length)) {
      out_of_data = true;
      break;
    }
    p += length;
    ++frames;
  }
  if (out_of_data && !state.device && R < entry.max_len) return nullptr;  // the loop re-reads it
  if (frames < kMinimumFrames || p > entry.max_len) return go_on_at(s, R, entry.header_len);
  const unsigned char* tag = bytes.at(p, 3);
  const bool id3v1 = tag && std::memcmp(tag, "TAG", 3) == 0 && bytes.at(p, kId3v1) && p + kId3v1 <= entry.max_len;
  if (id3v1) p += kId3v1;
  record_found_file(entry, state, p, base + m, id3v1);
  return go_on_at(s, R, p);
}

}  // namespace qf
