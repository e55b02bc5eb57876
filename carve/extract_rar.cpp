// RAR archives (format 1.5 to 4.x). Every block starts with a 7-byte header:
//   0 CRC (16)   2 type   3 flags (16)   5 header size (16)
// Blocks: marker 0x72 ("Rar!" 1A 07 00, 7 bytes), archive header 0x73 (13
// bytes), file header 0x74 with the packed size (32 bits) at 7 and the packed
// data right after the header, end of archive 0x7B (7 bytes).
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
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

std::uint64_t min_u64(std::uint64_t a, std::uint64_t b) { return a < b ? a : b; }

// The byte at offset `at` from s, or -1 past the data.
int byte_at(const unsigned char* s, std::uint64_t R, std::uint64_t at) { return at < R ? s[at] : -1; }

// The index of the first byte `value` in `span` bytes from `from`, or span.
std::uint64_t find_byte(const unsigned char* s, std::uint64_t R, std::uint64_t from, std::uint64_t span,
                        unsigned char value) {
  for (std::uint64_t i = 0; i < span && from + i < R; ++i) {
    if (s[from + i] == value) return i;
  }
  return span;
}

enum class walk_end { walked, give_up };

struct file_walk {
  walk_end end = walk_end::walked;
  std::uint64_t f = 0;       // offset of the block after the walk
  std::uint64_t walked = 0;  // offset of the last block walked (0: none)
};

// Walks the file headers from `f`. S is the data after the marker block, the
// bound the header sizes are held against.
file_walk walk_files(type_spec& entry, const unsigned char* s, std::uint64_t R, std::uint64_t f, std::uint64_t S) {
  file_walk walk;
  walk.f = f;
  while (byte_at(s, R, walk.f + 2) == kFileHeader) {
    // A file header cut by the end of the data: the archive goes on past it.
    if (!has_bytes(R, walk.f, kFileHeaderFields)) return {walk_end::give_up, walk.f, walk.walked};
    const std::uint64_t H = le16(s + walk.f + 5);
    const std::uint64_t P = le32(s + walk.f + 7);
    walk.walked = walk.f;
    if (H == 0 || H > S || P > S || H + P > S) {
      // Damaged: the end lies at the next eight zero bytes, if any are near.
      const std::uint64_t span = min_u64(kDamagedWindow, R - walk.f);
      const unsigned char* hit = find_footer(entry, s + walk.f, span);
      if (hit) {
        walk.f = static_cast<std::uint64_t>(hit - s);
      } else {
        walk.f = walk.walked = kDamagedWindow;
      }
      return walk;
    }
    const std::uint64_t next = walk.f + H + P;
    // The next block (at least an end block) lies past the data held: the
    // archive crosses the end of it, so let the scan loop re-read.
    if (next > S) return {walk_end::give_up, walk.f, walk.walked};
    walk.f = next;
  }
  return walk;
}

}  // namespace

const unsigned char* extract_rar(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < kBlockHeader) return nullptr;
  const std::uint64_t marker = le16(s + 5);
  const std::uint64_t b = marker;
  if (byte_at(s, R, b + 2) != kArchiveHeader) return go_on_at(s, R, b > 0 ? b : 1);
  if (!has_bytes(R, b, kBlockHeader)) return nullptr;
  const std::uint64_t a = le16(s + b + 5);

  std::uint64_t f = b + a;
  if (byte_at(s, R, f + 2) != kFileHeader) {
    const std::uint64_t i = find_byte(s, R, f, kResyncWindow, kFileHeader);
    if (i < kResyncWindow && f + i >= 2) f = f + i - 2;
  }
  if (R < marker) return nullptr;
  const std::uint64_t S = R - marker;
  const bool at_file = byte_at(s, R, f + 2) == kFileHeader;

  if (a == kPlainArchiveHeader && !at_file) {
    // Encrypted headers cannot be walked: the archive runs to the next eight
    // zero bytes, or fills the window.
    if (f > S) return nullptr;
    const std::uint64_t window = min_u64(S - f, entry.max_len);
    const unsigned char* hit = find_footer(entry, s + f, window);
    const std::uint64_t end = hit ? static_cast<std::uint64_t>(hit - s) : window;
    if (end == 0) return go_on_at(s, R, f + 1);
    record_found_file(entry, state, end, base + m);
    return go_on_at(s, R, end);
  }

  std::uint64_t walked = 0;
  if (at_file) {
    const file_walk walk = walk_files(entry, s, R, f, S);
    if (walk.end == walk_end::give_up) return nullptr;
    f = walk.f;
    walked = walk.walked;
  }
  const bool end_block = byte_at(s, R, f + 2) == kEndOfArchive;
  if (!end_block && walked == 0) return go_on_at(s, R, f > 0 ? f : 1);
  const std::uint64_t end = f + kBlockHeader;
  if (end > R) return nullptr;  // the end block is not all here
  record_found_file(entry, state, end, base + m, end_block);
  return go_on_at(s, R, end);
}

}  // namespace qf
