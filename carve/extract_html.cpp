// HTML: "<html" (any case) followed by text, ended by the first "</html>"
// (any case). Only the footer delimits the file; nothing inside is parsed.
#include "carve/extract_bytes.h"
#include "carve/extract_text.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

// Bytes right after "<html" that must all be text for the match to count.
constexpr std::uint64_t kTextProbe = 16;

}  // namespace

const unsigned char* extract_html(carve_state& state, type_spec& entry, const unsigned char* s,
                                  std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  const std::uint64_t d = entry.header_len;
  if (!has_bytes(R, d, kTextProbe)) return nullptr;
  for (std::uint64_t i = 0; i < kTextProbe; ++i) {
    if (!is_text_byte(s[d + i])) return go_on_at(s, R, d + kTextProbe);
  }

  // A full max_len window when the data holds it; otherwise the data less a
  // header's length at each end.
  const std::uint64_t window = R - d >= entry.max_len ? entry.max_len : R >= 2 * d ? R - 2 * d : 0;
  const unsigned char* footer = find_footer(entry, s + d, window);
  if (!footer) return nullptr;
  const std::uint64_t size = static_cast<std::uint64_t>(footer - s) + entry.footer_len;
  record_found_file(entry, state, size, base + m);
  return go_on_at(s, R, size);
}

}  // namespace qf
