// BMP: "BM", then the whole file size (32-bit at 2), the pixel-data offset
// (at 10), and the info header: its size (at 14), width (18), height (22).
// Plausible sizes keep random "BM" pairs out.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::int64_t kLargestSide = 100000;

// The header sizes of the known info-header versions (core, 3, 4, 5 and the
// Adobe variants).
bool known_info_size(std::uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

}  // namespace

const unsigned char* extract_bmp(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  const auto skip = [&match] { return go_on_at(match.s, match.R, match.entry.header_len); };
  if (R < 100) return skip();
  const std::int64_t size = static_cast<std::int32_t>(le32(s + 2));
  if (size <= 100 || static_cast<std::uint64_t>(size) > entry.max_len) return skip();
  const std::uint32_t info_size = le32(s + 14);
  const std::int64_t width = static_cast<std::int32_t>(le32(s + 18));
  // A negative height is a picture stored top row first.
  const std::int64_t rows = static_cast<std::int32_t>(le32(s + 22));
  const std::int64_t height = rows < 0 ? -rows : rows;
  const std::uint64_t pixels = le32(s + 10);
  if (!known_info_size(info_size) || width < 1 || width > kLargestSide || height < 1 || height > kLargestSide ||
      pixels < 14 + info_size || pixels >= static_cast<std::uint64_t>(size)) {
    return skip();
  }
  // Past the data: without the device the loop re-reads it; with it, the
  // size field alone delimits the file.
  if (R < static_cast<std::uint64_t>(size) && !state.device) return nullptr;
  if (!file_bytes(state, s, R, base + m).holds(static_cast<std::uint64_t>(size))) return skip();
  record_found_file(entry, state, static_cast<std::uint64_t>(size), base + m, true);
  return go_on_at(s, R, static_cast<std::uint64_t>(size));
}

}  // namespace qf
