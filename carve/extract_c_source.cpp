// C and C++ source text: "#include" with a quoted or bracketed file name
// near it, inside a run of at least 50 text bytes that also holds "int". The
// file is the whole run of text around the match: backwards to where text
// starts (a comment block often comes before the first #include), forwards to
// the first byte that is not text.
#include "carve/extract_bytes.h"
#include "carve/extract_text.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kIncludeWindow = 20;
constexpr std::uint64_t kMinimumText = 50;
constexpr int kMarkerInt = 0;  // "int"

bool names_a_file(const unsigned char* s, std::uint64_t R) {
  const std::uint64_t span = R < kIncludeWindow ? R : kIncludeWindow;
  for (std::uint64_t i = 0; i < span; ++i) {
    if (s[i] == '"' || s[i] == '<') return true;
  }
  return false;
}

}  // namespace

const unsigned char* extract_c_source(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!names_a_file(s, R)) return go_on_at(s, R, entry.header_len);
  std::uint64_t i = 0;
  while (i < R && is_text_byte(s[i])) ++i;
  if (i < kMinimumText) return go_on_at(s, R, i > 1 ? i - 1 : 1);

  std::uint64_t before = 0;  // text bytes before s, within the m readable ones
  while (before < m && is_text_byte(s[-1 - static_cast<std::int64_t>(before)])) ++before;
  const unsigned char* t = s - before;
  const std::uint64_t len = before + i;  // through the last text byte

  if (!find_marker(entry, kMarkerInt, t, len)) return nullptr;
  record_found_file(entry, state, len, base + m - before);
  return go_on_at(s, R, i);
}

}  // namespace qf
