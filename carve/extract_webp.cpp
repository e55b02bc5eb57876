// WebP: a RIFF file of form "WEBP" whose first chunk is "VP8 " (lossy),
// "VP8L" (lossless) or "VP8X" (extended: animation, alpha, metadata). The
// file is the RIFF size plus its 8-byte header.
#include <cstring>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {

const unsigned char* extract_webp(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!has_bytes(R, 0, 20)) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  const bool first_chunk = std::memcmp(s + 12, "VP8 ", 4) == 0 || std::memcmp(s + 12, "VP8L", 4) == 0 ||
                           std::memcmp(s + 12, "VP8X", 4) == 0;
  const std::uint64_t n = le32(s + 4);
  // The first chunk must lie inside the RIFF size.
  if (std::memcmp(s + 8, "WEBP", 4) != 0 || !first_chunk || n < 12 + le32(s + 16) || n + 8 > entry.max_len) {
    return go_on_at(s, R, entry.header_len);
  }
  const std::uint64_t size = n + 8;
  if (size > R && !state.device) return nullptr;
  if (!file_bytes(state, s, R, base + m).holds(size)) return go_on_at(s, R, entry.header_len);
  record_found_file(entry, state, size, base + m, true);
  return go_on_at(s, R, size);
}

}  // namespace qf
