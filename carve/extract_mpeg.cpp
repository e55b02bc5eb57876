// MPEG-1 program (system) stream: a 12-byte pack header (00 00 01 BA) followed
// at once by the system header (00 00 01 BB, so byte 15 is BB). Packets with
// ids BB ... EF carry a big-endian 16-bit length after their start code; the
// stream ends with the end code 00 00 01 B9, or, as many muxers write it
// (ffmpeg among them), simply after its last packet.
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kWindow = 2048;          // start codes are looked for this far ahead
constexpr std::uint64_t kNear = 1048576;         // a stream shorter than this is not ended early
constexpr std::uint64_t kLargestPacket = 51200;
constexpr std::uint64_t kSmallestStream = 1024;
constexpr unsigned char kPack = 0xBA, kSystemHeader = 0xBB, kEndCode = 0xB9, kLastLengthId = 0xEF;

bool has_length(unsigned char id) { return id >= kSystemHeader && id <= kLastLengthId; }

enum class walk_outcome { ended, ended_after_packet, go_on, give_up };

bool start_code_at(const unsigned char* s, std::uint64_t R, std::uint64_t q) {
  return has_bytes(R, q, 4) && s[q] == 0 && s[q + 1] == 0 && s[q + 2] == 1;
}

struct stream_walk {
  walk_outcome outcome = walk_outcome::go_on;
  std::uint64_t at = 0;  // end position (ended) or where to go on
};

// Walks packets from the start code at q; q ends on the first start code
// that is not a packet with a length, or just past the last packet when no
// start code follows it (the stream ended without an end code). T grows by
// each packet's offset plus its length and only decides, for a packet that
// does not fit, whether more data might help.
stream_walk walk_packets(const unsigned char* s, std::uint64_t R, std::uint64_t max_len,
                         std::uint64_t p, std::uint64_t& q, std::uint64_t& T, unsigned header_len) {
  bool walked = false;
  while (start_code_at(s, R, q) && has_bytes(R, q, 6) && has_length(s[q + 3])) {
    const std::uint64_t n = be16(s + q + 4);
    T += q + n;
    // The packet must hold its 6-byte head and leave the next start code readable.
    if (n != 0 && has_bytes(R, q, n + 6 + 4)) {
      q += n + 6;
      walked = true;
      continue;
    }
    if (n == 0 || n > kLargestPacket) return {walk_outcome::go_on, p + header_len};
    if (T < max_len) return {walk_outcome::give_up, 0};
    return {walk_outcome::ended, q};  // T >= max_len: judged by its id
  }
  if (walked && has_bytes(R, q, 4) && !start_code_at(s, R, q)) return {walk_outcome::ended_after_packet, q};
  return {walk_outcome::ended, q};
}

stream_walk walk_stream(const type_spec& entry, const unsigned char* s, std::uint64_t R) {
  const std::uint64_t window = R < kWindow ? R : kWindow;
  std::uint64_t p = 0;
  std::uint64_t T = 0;
  for (;;) {
    const bool near = p < kNear;
    const std::uint64_t span = window < R - p ? window : R - p;
    const unsigned char* code = find_marker(entry, 0, s + p, span);
    if (!code) return near ? stream_walk{walk_outcome::go_on, entry.header_len} : stream_walk{walk_outcome::ended, p};
    std::uint64_t q = static_cast<std::uint64_t>(code - s);
    const stream_walk packets = walk_packets(s, R, entry.max_len, p, q, T, entry.header_len);
    if (packets.outcome != walk_outcome::ended) return packets;
    if (!has_bytes(R, q, 4)) return {walk_outcome::give_up, 0};
    const unsigned char id = s[q + 3];
    if (id == 0x00 || id == kPack) {
      p = q + 3;
      continue;
    }
    if (id == kEndCode) return {walk_outcome::ended, q};
    return near ? stream_walk{walk_outcome::go_on, p + entry.header_len} : stream_walk{walk_outcome::ended, p};
  }
}

}  // namespace

const unsigned char* extract_mpeg(carve_state& state, type_spec& entry, const unsigned char* s,
                                  std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  if (R < 16) return nullptr;
  if (s[15] != kSystemHeader) return go_on_at(s, R, entry.header_len);
  const stream_walk walk = walk_stream(entry, s, R);
  if (walk.outcome == walk_outcome::give_up) return nullptr;
  if (walk.outcome == walk_outcome::go_on) return go_on_at(s, R, walk.at);

  // Through the four-byte end code, or to the end of the last packet.
  std::uint64_t size = walk.outcome == walk_outcome::ended ? walk.at + 4 : walk.at;
  if (size < kSmallestStream) return go_on_at(s, R, entry.header_len);
  if (size > R) size = R;
  record_found_file(entry, state, size, base + m);
  return go_on_at(s, R, size);
}

}  // namespace qf
