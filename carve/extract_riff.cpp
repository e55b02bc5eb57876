// RIFF (AVI and WAV): "RIFF", the chunk size n (32-bit at 4, counting the
// bytes after the 8-byte chunk header), the form type at 8: "AVI " followed by
// a "LIST" chunk at 12, or "WAVE". The file is n + 8 bytes.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

#include <cstring>

namespace qf {
namespace {

constexpr std::uint64_t kChunkHeader = 8;

const char* riff_form(const unsigned char* s) {
  if (std::memcmp(s + 8, "AVI", 3) == 0 && std::memcmp(s + 12, "LIST", 4) == 0) return "avi";
  if (std::memcmp(s + 8, "WAVE", 4) == 0) return "wav";
  return nullptr;
}

}  // namespace

const unsigned char* extract_riff(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < 16) return nullptr;
  const char* form = riff_form(s);
  const std::int64_t n = le32(s + 4);
  if (!form || n < 1 || static_cast<std::uint64_t>(n) > entry.max_len) {
    return go_on_at(s, R, entry.header_len);
  }
  // The file is the chunk size plus its 8-byte header. One that runs past
  // the data crosses the chunk end: without the device, giving up lets the
  // scan loop re-read it; with it, the size alone delimits the file.
  if (static_cast<std::uint64_t>(n) + kChunkHeader > R && !state.device) return nullptr;
  if (!file_bytes(state, s, R, base + m).holds(static_cast<std::uint64_t>(n) + kChunkHeader)) {
    return go_on_at(s, R, entry.header_len);
  }
  entry.suffix = form;
  if (filter_allows(entry.filter, entry.suffix)) {
    record_found_file(entry, state, static_cast<std::uint64_t>(n) + kChunkHeader, base + m, true);
  }
  return go_on_at(s, R, static_cast<std::uint64_t>(n));
}

}  // namespace qf
