// PDF: "%PDF-1." then an object within the first 100 bytes. A linearized file
// states its whole length in the linearization dictionary ("/L n" near the
// start), and its "%%EOF" stands within the last 15 bytes of that length;
// any other file ends at its first "%%EOF" (an incremental update after it is
// not part of the carved file) and the one byte after it (the line end).
#include <cstddef>

#include "carve/extract_bytes.h"
#include "carve/extractor.h"
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
constexpr std::uint64_t kObjectWindow = 100;
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

// Records the file that ends with the footer at `eof` (through one more byte,
// never past the data) and goes on after it.
const unsigned char* record_through_footer(carve_state& state, type_spec& entry, const unsigned char* s,
                                           std::uint64_t m, std::uint64_t R, std::uint64_t base,
                                           const unsigned char* eof) {
  const std::uint64_t end = static_cast<std::uint64_t>(eof - s) + kFooterLength + 1;
  record_found_file(entry, state, min_u64(end, R), base + m);
  return go_on_at(s, R, end);
}

}  // namespace

const unsigned char* extract_pdf(carve_state& state, type_spec& entry, const unsigned char* s,
                                 std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  const std::uint64_t d = entry.header_len;
  if (R < d || R - d < kMinimumPdf) return nullptr;
  const unsigned char* end = s + R;
  const unsigned char* body = s + d;
  if (!find_marker(entry, kMarkerObject, body, kObjectWindow)) return go_on_at(s, R, d + kObjectWindow);

  const unsigned char* linearized = find_marker(entry, kMarkerLinearized, body, kLinearizedWindow);
  const unsigned char* length_key =
      linearized ? find_marker(entry, kMarkerLength, linearized,
                               min_u64(kLinearizedWindow, static_cast<std::uint64_t>(end - linearized)))
                 : nullptr;
  if (length_key) {
    const unsigned char* digits = length_key + entry.markers[kMarkerLength].length;
    const std::uint64_t after_key = static_cast<std::uint64_t>(digits - s);
    const std::uint64_t L = read_length_field(digits, static_cast<std::uint64_t>(end - digits));
    if (L == 0) return go_on_at(s, R, after_key);
    // A length past the data: the file crosses the end of what is held; the
    // scan loop can re-read it only when it is within the type's limit.
    if (L > R - d) return entry.max_len >= L ? nullptr : go_on_at(s, R, after_key);
    // "%%EOF" in the 14 bytes from L - 15; a length under 15 cannot hold one.
    if (L < 15) return nullptr;
    const unsigned char* eof = find_footer(entry, s + (L - 15), 14);
    if (!eof) return nullptr;
    return record_through_footer(state, entry, s, m, R, base, eof);
  }

  const unsigned char* eof = find_footer(entry, body, min_u64(R - d, entry.max_len));
  if (!eof) return nullptr;
  return record_through_footer(state, entry, s, m, R, base, eof);
}

}  // namespace qf
