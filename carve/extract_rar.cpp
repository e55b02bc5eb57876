// RAR archives (format 1.5 to 4.x). Every block starts with a 7-byte header:
//   0 CRC (16)   2 type   3 flags (16)   5 header size (16)
// Blocks: marker 0x72 ("Rar!" 1A 07 00, 7 bytes), archive header 0x73 (13
// bytes), file header 0x74 with the packed size (32 bits) at 7 and the packed
// data right after the header, end of archive 0x7B (7 bytes).
// The blocks are followed through the device past the bytes held
// (carve/file_bytes.h), up to the type's limit.
#include <algorithm>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr unsigned char kArchiveHeader = 0x73;
constexpr unsigned char kFileHeader = 0x74;
constexpr unsigned char kEndOfArchive = 0x7B;
constexpr std::uint64_t kPlainArchiveHeader = 13;
constexpr std::uint64_t kResyncWindow = 500;
constexpr std::uint64_t kDamagedWindow = 51200;
constexpr std::uint64_t kBlockHeader = 7;
constexpr std::uint64_t kFileHeaderFields = 11;  // through the packed size

// The archive's bytes: those held, then the device, within its first `extent` bytes.
struct archive_bytes {
  file_bytes bytes;
  std::uint64_t extent;

  const unsigned char* at(std::uint64_t offset, std::uint64_t count) {
    return has_bytes(extent, offset, count) ? bytes.at(offset, static_cast<std::size_t>(count)) : nullptr;
  }
  // The byte at `offset`, or -1 past the archive's bytes.
  int byte(std::uint64_t offset) {
    const unsigned char* p = at(offset, 1);
    return p ? *p : -1;
  }
  // The index of the first byte `value` in `span` bytes from `from`, or span.
  std::uint64_t find_byte(std::uint64_t from, std::uint64_t span, unsigned char value) {
    for (std::uint64_t i = 0; i < span; ++i) {
      const int b = byte(from + i);
      if (b < 0) break;
      if (b == value) return i;
    }
    return span;
  }
  // Offset of the first footer (eight zero bytes) wholly inside `span` bytes from `from`.
  std::uint64_t find_footer(const type_spec& entry, std::uint64_t from, std::uint64_t span) {
    if (span < entry.footer_len) return file_bytes::kNotFound;
    return bytes.find(from, span - entry.footer_len + 1, entry.footer.data(), entry.footer_len);
  }
};

enum class walk_end { walked, give_up };

struct file_walk {
  walk_end end = walk_end::walked;
  std::uint64_t f = 0;       // offset of the block after the walk
  std::uint64_t walked = 0;  // offset of the last block walked (0: none)
};

// Walks the file headers from `f`. S is the data after the marker block, the
// bound the header sizes are held against.
file_walk walk_files(const type_spec& entry, archive_bytes& data, std::uint64_t f, std::uint64_t S) {
  file_walk walk;
  walk.f = f;
  while (data.byte(walk.f + 2) == kFileHeader) {
    // A file header cut by the end of the data: the archive goes on past it.
    const unsigned char* header = data.at(walk.f, kFileHeaderFields);
    if (!header) return {walk_end::give_up, walk.f, walk.walked};
    const std::uint64_t H = le16(header + 5);
    const std::uint64_t P = le32(header + 7);
    walk.walked = walk.f;
    if (H == 0 || H > S || P > S || H + P > S) {
      // Damaged: the end lies at the next eight zero bytes, if any are near.
      const std::uint64_t span = std::min(kDamagedWindow, data.extent - walk.f);
      const std::uint64_t hit = data.find_footer(entry, walk.f, span);
      if (hit != file_bytes::kNotFound) {
        walk.f = hit;
      } else {
        walk.f = walk.walked = kDamagedWindow;
      }
      return walk;
    }
    const std::uint64_t next = walk.f + H + P;
    // The next block (at least an end block) lies past the data: the archive
    // runs past the type's limit, or past the bytes held without a device.
    if (next > S) return {walk_end::give_up, walk.f, walk.walked};
    walk.f = next;
  }
  return walk;
}

// No archive delimited: without the device the scan loop re-reads the
// header; with it, every byte there was to read has been, so go on.
const unsigned char* give_up(const header_match& match) {
  return match.state.device ? go_on_at(match.s, match.R, match.entry.header_len + 1) : nullptr;
}

}  // namespace

const unsigned char* extract_rar(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  archive_bytes data{file_bytes(state, s, R, base + m), state.device ? std::max(R, entry.max_len) : R};
  const unsigned char* head = data.at(0, kBlockHeader);
  if (!head) return give_up(match);
  const std::uint64_t marker = le16(head + 5);
  const std::uint64_t b = marker;
  if (data.byte(b + 2) != kArchiveHeader) return go_on_at(s, R, b > 0 ? b : 1);
  const unsigned char* archive_header = data.at(b, kBlockHeader);
  if (!archive_header) return give_up(match);
  const std::uint64_t a = le16(archive_header + 5);

  std::uint64_t f = b + a;
  if (data.byte(f + 2) != kFileHeader) {
    const std::uint64_t i = data.find_byte(f, kResyncWindow, kFileHeader);
    if (i < kResyncWindow && f + i >= 2) f = f + i - 2;
  }
  if (data.extent < marker) return give_up(match);
  const std::uint64_t S = data.extent - marker;
  const bool at_file = data.byte(f + 2) == kFileHeader;

  if (a == kPlainArchiveHeader && !at_file) {
    // Encrypted headers cannot be walked: the archive runs to the next eight
    // zero bytes within the bytes held, or fills them.
    if (R < marker || f > R - marker) return give_up(match);
    const std::uint64_t window = std::min(R - marker - f, entry.max_len);
    const unsigned char* hit = find_footer(entry, s + f, window);
    const std::uint64_t end = hit ? static_cast<std::uint64_t>(hit - s) : window;
    if (end == 0) return go_on_at(s, R, f + 1);
    record_found_file(entry, state, end, base + m);
    return go_on_at(s, R, end);
  }

  std::uint64_t walked = 0;
  if (at_file) {
    const file_walk walk = walk_files(entry, data, f, S);
    if (walk.end == walk_end::give_up) return give_up(match);
    f = walk.f;
    walked = walk.walked;
  }
  const bool end_block = data.byte(f + 2) == kEndOfArchive;
  if (!end_block && walked == 0) return go_on_at(s, R, f > 0 ? f : 1);
  const std::uint64_t end = f + kBlockHeader;
  if (!data.at(f, kBlockHeader)) return give_up(match);  // the end block is not all there
  record_found_file(entry, state, end, base + m, end_block);
  return go_on_at(s, R, end);
}

}  // namespace qf
