// C and C++ source text: "#include" with a quoted or bracketed file name
// near it, inside a run of at least 50 text bytes that also holds "int". The
// file is the whole run of text around the match: backwards to where text
// starts (a comment block often comes before the first #include), forwards to
// the first byte that is not text. A run that reaches the end of the bytes
// held goes on through the device (carve/file_bytes.h), up to the type's limit.
#include <algorithm>

#include "carve/carve_state.h"
#include "carve/extract_text.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
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

// The file offset where the run of text bytes from `from` ends, at most `limit`.
std::uint64_t text_end(file_bytes& text, std::uint64_t from, std::uint64_t limit) {
  std::uint64_t at = from;
  while (at < limit) {
    // Pieces end at the end of the bytes held, so those are never read again.
    std::uint64_t want = std::min<std::uint64_t>(file_bytes::kMaxRead, limit - at);
    if (at < text.held()) want = std::min(want, text.held() - at);
    std::size_t got = 0;
    const unsigned char* p = text.up_to(at, static_cast<std::size_t>(want), got);
    if (!p) break;
    const std::size_t k = static_cast<std::size_t>(std::find_if_not(p, p + got, is_text_byte) - p);
    at += k;
    if (k < got) break;
  }
  return at;
}

}  // namespace

const unsigned char* extract_c_source(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!names_a_file(s, R)) return go_on_at(s, R, entry.header_len);
  std::uint64_t before = 0;  // text bytes before s, within the m readable ones
  while (before < m && is_text_byte(s[-1 - static_cast<std::int64_t>(before)])) ++before;
  file_bytes text(state, s - before, R + before, base + m - before);
  // Text bytes from s on: within the bytes held, then through the device.
  const std::uint64_t limit = state.device ? std::max(R, entry.max_len) : R;
  const std::uint64_t i = text_end(text, before, before + limit) - before;
  if (i < kMinimumText) return go_on_at(s, R, i > 1 ? i - 1 : 1);
  const std::uint64_t len = before + i;  // through the last text byte

  // The whole run was read: without "int" in it, no later match in it is source.
  const type_marker& word = entry.markers[kMarkerInt];
  if (text.find(0, len - word.length + 1, word.bytes.data(), word.length) == file_bytes::kNotFound) {
    return state.device ? go_on_at(s, R, i) : nullptr;
  }
  record_found_file(entry, state, len, base + m - before);
  return go_on_at(s, R, i);
}

}  // namespace qf
