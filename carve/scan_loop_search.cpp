#include "carve/scan_loop_search.h"

#include "carve/carve_state.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

bool is_ascii_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool bytes_equal(unsigned char data, unsigned char pattern, int case_sensitive) {
  if (pattern == kWildcard || data == pattern) return true;
  // Letters only: of the bytes 65 ... 122, only the letters have a partner 32 away.
  return !case_sensitive && is_ascii_letter(data) && is_ascii_letter(pattern) &&
         (data ^ pattern) == 0x20;
}

}  // namespace

bool search_string_matches(const unsigned char* at, const unsigned char* pattern, std::size_t length,
                           int case_sensitive) {
  for (std::size_t i = 0; i < length; ++i) {
    if (!bytes_equal(at[i], pattern[i], case_sensitive)) return false;
  }
  return true;
}

const unsigned char* skip_search(const unsigned char* from, std::uint64_t span,
                                 const unsigned char* pattern, std::size_t length,
                                 const skip_table& table, int case_sensitive) {
  if (length == 0) return from;
  if (!from || span < length) return nullptr;
  // q indexes the byte under the pattern's last byte; shift 0 means that byte
  // could end a match, so the whole window is compared.
  for (std::uint64_t q = length - 1; q < span;) {
    const unsigned shift = table[from[q]];
    if (shift != 0) {
      q += shift;
      continue;
    }
    const unsigned char* start = from + (q - (length - 1));
    if (search_string_matches(start, pattern, length, case_sensitive)) return start;
    ++q;
  }
  return nullptr;
}

const unsigned char* find_header(const type_spec& entry, const unsigned char* from, std::uint64_t span) {
  return skip_search(from, span, entry.header.data(), entry.header_len, entry.header_skip,
                     entry.case_sensitive);
}

const unsigned char* find_footer(const type_spec& entry, const unsigned char* from, std::uint64_t span) {
  return skip_search(from, span, entry.footer.data(), entry.footer_len, entry.footer_skip,
                     entry.case_sensitive);
}

const unsigned char* find_marker(const type_spec& entry, int index, const unsigned char* from,
                                 std::uint64_t span) {
  if (index < 0 || index >= entry.marker_count) return nullptr;
  const type_marker& marker = entry.markers[static_cast<std::size_t>(index)];
  return skip_search(from, span, marker.bytes.data(), marker.length, marker.skip, entry.case_sensitive);
}

}  // namespace qf
