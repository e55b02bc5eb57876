// PDF: "%PDF-1.x" or "%PDF-2.x", then an object within the first KiB (comment
// lines such as a producer's may come first). A linearized file states its
// whole length in the linearization dictionary ("/L n" near the start), and
// its "%%EOF" stands within the last 15 bytes of that length. Any other file
// ends at its first "%%EOF" and the line end after it, unless incremental
// updates follow: an update begins right after that line end with an object
// or a cross-reference section, and its own "%%EOF" is preceded by a
// "startxref" that points into the update. The chain of updates is followed
// to its last "%%EOF" (through the device past the chunk, carve/file_bytes.h).
#include <cstddef>
#include <cstring>

#include "carve/extract_bytes.h"
#include "carve/carve_state.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

// The pdf entry's markers, in the order the vocabulary lists them.
constexpr int kMarkerLength = 0;      // "/L "
constexpr int kMarkerObject = 1;      // "obj"
constexpr int kMarkerLinearized = 2;  // "/Linearized"

constexpr std::uint64_t kMinimumPdf = 512;
constexpr std::uint64_t kObjectWindow = 1024;
constexpr std::uint64_t kVersionBytes = 3;  // "1.4", "2.0" after "%PDF-"
constexpr std::uint64_t kStartxrefWindow = 48;
constexpr std::uint64_t kLinearizedWindow = 512;
constexpr std::uint64_t kLengthDigits = 8;
constexpr std::uint64_t kFooterLength = 5;  // "%%EOF"

std::uint64_t min_u64(std::uint64_t a, std::uint64_t b) { return a < b ? a : b; }

// The decimal number in at most kLengthDigits bytes at `p` (leading blanks
// skipped, stops at the first non-digit), as atoi reads it.
std::uint64_t read_length_field(const unsigned char* p, std::uint64_t available) {
  const std::uint64_t limit = min_u64(available, kLengthDigits);
  std::uint64_t i = 0;
  while (i < limit && (p[i] == ' ' || p[i] == '\t' || p[i] == '\r' || p[i] == '\n')) ++i;
  std::uint64_t value = 0;
  for (; i < limit && p[i] >= '0' && p[i] <= '9'; ++i) value = value * 10 + (p[i] - '0');
  return value;
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Just past the line end (CR LF, LF, CR, or none) that follows "%%EOF" at `eof`.
std::uint64_t after_eof_line(file_bytes& bytes, std::uint64_t eof) {
  std::uint64_t end = eof + kFooterLength;
  std::size_t got = 0;
  const unsigned char* p = bytes.up_to(end, 2, got);
  if (got >= 1 && p[0] == '\r') return end + (got >= 2 && p[1] == '\n' ? 2 : 1);
  if (got >= 1 && p[0] == '\n') return end + 1;
  return end;
}

// True when the bytes at `at` open an update: "N G obj" or "xref".
bool update_starts(file_bytes& bytes, std::uint64_t at) {
  std::size_t got = 0;
  const unsigned char* p = bytes.up_to(at, 32, got);
  if (!p) return false;
  if (got >= 4 && std::memcmp(p, "xref", 4) == 0) return true;
  std::size_t i = 0;
  for (int number = 0; number < 2; ++number) {
    const std::size_t digits = i;
    while (i < got && is_digit(p[i])) ++i;
    if (i == digits || i >= got || p[i] != ' ') return false;
    ++i;
  }
  return i + 3 <= got && std::memcmp(p + i, "obj", 3) == 0;
}

// The number after the last "startxref" in the bytes before `eof`, or -1.
std::int64_t startxref_before(file_bytes& bytes, std::uint64_t eof) {
  if (eof < kStartxrefWindow) return -1;
  const unsigned char* p = bytes.at(eof - kStartxrefWindow, kStartxrefWindow);
  if (!p) return -1;
  static constexpr char kKey[] = "startxref";
  const std::size_t key = sizeof kKey - 1;
  for (std::size_t at = kStartxrefWindow - key; at-- > 0;) {
    if (std::memcmp(p + at, kKey, key) != 0) continue;
    std::size_t i = at + key;
    while (i < kStartxrefWindow && is_blank(p[i])) ++i;
    std::int64_t value = -1;
    for (; i < kStartxrefWindow && is_digit(p[i]); ++i) value = (value < 0 ? 0 : value * 10) + (p[i] - '0');
    return value;
  }
  return -1;
}

// The end of the file whose first "%%EOF" is at `eof`: past the last update
// of the chain that starts after it.
std::uint64_t end_of_updates(file_bytes& bytes, const type_spec& entry, std::uint64_t eof) {
  std::uint64_t end = after_eof_line(bytes, eof);
  for (;;) {
    if (!update_starts(bytes, end) || end >= entry.max_len) return end;
    const std::uint64_t next = bytes.find(end, entry.max_len - end, entry.footer.data(), entry.footer_len);
    if (next == file_bytes::kNotFound) return end;
    const std::int64_t xref = startxref_before(bytes, next);
    if (xref < 0 || static_cast<std::uint64_t>(xref) < end || static_cast<std::uint64_t>(xref) >= next) return end;
    end = after_eof_line(bytes, next);
  }
}

}  // namespace

const unsigned char* extract_pdf(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  const std::uint64_t d = entry.header_len + kVersionBytes;
  if (R < d || R - d < kMinimumPdf) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  const unsigned char* version = s + entry.header_len;
  if ((version[0] != '1' && version[0] != '2') || version[1] != '.' || !is_digit(version[2])) {
    return go_on_at(s, R, entry.header_len);
  }
  const unsigned char* end = s + R;
  const unsigned char* body = s + d;
  if (!find_marker(entry, kMarkerObject, body, min_u64(kObjectWindow, R - d))) return go_on_at(s, R, d + kObjectWindow);

  file_bytes bytes(state, s, R, base + m);
  const unsigned char* linearized = find_marker(entry, kMarkerLinearized, body, kLinearizedWindow);
  const unsigned char* length_key =
      linearized ? find_marker(entry, kMarkerLength, linearized,
                               min_u64(kLinearizedWindow, static_cast<std::uint64_t>(end - linearized)))
                 : nullptr;
  std::uint64_t size = 0;
  if (length_key) {
    const unsigned char* digits = length_key + entry.markers[kMarkerLength].length;
    const std::uint64_t after_key = static_cast<std::uint64_t>(digits - s);
    const std::uint64_t L = read_length_field(digits, static_cast<std::uint64_t>(end - digits));
    if (L == 0) return go_on_at(s, R, after_key);
    // A length past the type's limit: not this file. Past the data: without
    // the device the scan loop re-reads it.
    if (L > entry.max_len) return go_on_at(s, R, after_key);
    if (L > R && !state.device) return nullptr;
    // "%%EOF" in the 14 bytes from L - 15; a length under 15 cannot hold one.
    if (L < 15) return go_on_at(s, R, after_key);
    const std::uint64_t eof = bytes.find(L - 15, 14 - kFooterLength + 1, entry.footer.data(), entry.footer_len);
    if (eof == file_bytes::kNotFound) return go_on_at(s, R, after_key);
    size = after_eof_line(bytes, eof);
  } else {
    const std::uint64_t eof = bytes.find(d, entry.max_len > d ? entry.max_len - d : 0, entry.footer.data(), entry.footer_len);
    if (eof == file_bytes::kNotFound) return state.device || R >= entry.max_len ? go_on_at(s, R, d) : nullptr;
    size = end_of_updates(bytes, entry, eof);
  }
  record_found_file(entry, state, size, base + m, true);
  return go_on_at(s, R, size);
}

}  // namespace qf
