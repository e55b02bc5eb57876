// AMR speech (voice recorders): "#!AMR\n" (narrowband) or "#!AMR-WB\n"
// (wideband), then frames, each a header byte 0 FFFF Q 00 (frame type F,
// quality bit Q) and the type's fixed number of speech bytes. The file ends
// where the frames stop: a byte that is no frame header (the zeros of unused
// space among them, whose quality bit is clear) or the end of the data.
#include <cstring>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

// Speech bytes per frame type; -1 for types that do not occur.
constexpr int kNarrowband[16] = {12, 13, 15, 17, 19, 20, 26, 31, 5, -1, -1, -1, -1, -1, -1, 0};
constexpr int kWideband[16] = {17, 23, 32, 36, 40, 46, 50, 58, 60, 5, -1, -1, -1, -1, 0, 0};
constexpr std::uint64_t kSmallestFile = 64;

}  // namespace

const unsigned char* extract_amr(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (!has_bytes(R, 0, 9)) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  const bool wide = std::memcmp(s, "#!AMR-WB\n", 9) == 0;
  if (!wide && std::memcmp(s, "#!AMR\n", 6) != 0) return go_on_at(s, R, entry.header_len);
  const int* sizes = wide ? kWideband : kNarrowband;
  file_bytes bytes(state, s, R, base + m);
  std::uint64_t p = wide ? 9 : 6;
  bool out_of_data = false;
  while (p < entry.max_len) {
    const unsigned char* frame = bytes.at(p, 1);
    if (!frame) {
      out_of_data = true;
      break;
    }
    const int speech = sizes[(*frame >> 3) & 15];
    if ((*frame & 0x83) != 0 || !(*frame & 0x04) || speech < 0) break;
    if (!bytes.holds(p + 1 + static_cast<std::uint64_t>(speech))) {
      out_of_data = true;
      break;
    }
    p += 1 + static_cast<std::uint64_t>(speech);
  }
  if (p > entry.max_len) p = entry.max_len;
  if (out_of_data && !state.device && R < entry.max_len) return nullptr;  // the loop re-reads it
  if (p < kSmallestFile) return go_on_at(s, R, entry.header_len);
  record_found_file(entry, state, p, base + m);
  return go_on_at(s, R, p);
}

}  // namespace qf
