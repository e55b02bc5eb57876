// ASF (WMV, WMA): the header object starts with its 16-byte identifier, then
//   16 object size (64-bit)  24 number of header objects (32-bit)
//   28 reserved byte, always 1
// Among the header objects, the file-properties object (identifier starting
// A1 DC AB 8C 47 A9) holds the whole file's size at its offset 40.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

#include <string>

namespace qf {
namespace {

constexpr std::uint64_t kHeaderObjectFixed = 30;
constexpr std::uint64_t kFileSizeField = 40;

}  // namespace

const unsigned char* extract_wmv(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < 70) return nullptr;
  const std::uint64_t header_size = le64(s + 16);
  const std::int32_t objects = static_cast<std::int32_t>(le32(s + 24));
  if (header_size == 0 || objects <= 0 || s[28] != 1) {
    carve_note(state, "WMV err num_header_objs=" + std::to_string(objects) +
                          " headerSize=" + std::to_string(header_size));
    return go_on_at(s, R, kHeaderObjectFixed);
  }
  const std::uint64_t left = R - kHeaderObjectFixed;
  const unsigned char* properties =
      find_footer(entry, s + kHeaderObjectFixed, left < entry.max_len ? left : entry.max_len);
  if (!properties) return nullptr;
  const std::uint64_t at = static_cast<std::uint64_t>(properties - s);
  if (!has_bytes(R, at + kFileSizeField, 8)) return nullptr;
  const std::uint64_t size = le64(properties + kFileSizeField);
  if (size == 0 || size > entry.max_len) return nullptr;
  // Past the data: without the device the loop re-reads it; with it, the
  // size field alone delimits the file.
  if (size > R && !state.device) return nullptr;
  if (!file_bytes(state, s, R, base + m).holds(size)) return go_on_at(s, R, kHeaderObjectFixed);
  record_found_file(entry, state, size, base + m, true);
  return go_on_at(s, R, size);
}

}  // namespace qf
