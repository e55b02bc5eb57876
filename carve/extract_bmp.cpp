// BMP: "BM", then the whole file size (32-bit at 2), the pixel-data offset
// (at 10), and the info header: its size (at 14), width (18), height (22).
// Plausible sizes keep random "BM" pairs out.
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {

const unsigned char* extract_bmp(carve_state& state, type_spec& entry, const unsigned char* s,
                                 std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  const auto skip = [&] { return go_on_at(s, R, entry.header_len); };
  if (R < 100) return skip();
  const std::int64_t size = static_cast<std::int32_t>(le32(s + 2));
  if (size <= 100 || static_cast<std::uint64_t>(size) > entry.max_len) return skip();
  const std::int32_t info_size = static_cast<std::int32_t>(le32(s + 14));
  const std::int32_t width = static_cast<std::int32_t>(le32(s + 18));
  const std::int32_t height = static_cast<std::int32_t>(le32(s + 22));
  if (info_size < 1 || info_size > 1000 || width < 1 || height < 1 || height > 2000) return skip();
  if (R < static_cast<std::uint64_t>(size)) return nullptr;
  record_found_file(entry, state, static_cast<std::uint64_t>(size), base + m);
  return go_on_at(s, R, static_cast<std::uint64_t>(size));
}

}  // namespace qf
