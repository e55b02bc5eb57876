// Feeds arbitrary bytes, as the name of a carved file, to the preview copy's
// file name: whatever the name, the result fits its limit, keeps its id in
// front, holds no character a Windows file name may not hold, and is cut
// only between whole UTF-8 characters.
// Replay a crash: ui_preview_name_fuzz <file>.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/preview_name.h"

namespace {

std::size_t continuation_bytes(unsigned char lead) {
  return lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 99;
}

// Whether `text` is a sequence of whole UTF-8 characters (by their shape).
bool whole_utf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t more = continuation_bytes(static_cast<unsigned char>(text[i++]));
    if (more > text.size() - i) return false;
    for (std::size_t k = 0; k < more; ++k) {
      if ((static_cast<unsigned char>(text[i++]) & 0xC0) != 0x80) return false;
    }
  }
  return true;
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint64_t id = data[0] * 977u + 1;
  const std::size_t limit = data[1] % 2 ? qf::ui::kPreviewNameLimit : data[1] / 2;
  const std::string name(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string out = qf::ui::preview_file_name(id, name, limit);
  const std::string prefix = std::to_string(id) + "-";
  check(out.size() <= limit);
  if (limit >= prefix.size()) check(out.compare(0, prefix.size(), prefix) == 0);
  for (char c : out) check(static_cast<unsigned char>(c) >= 0x20 && !std::strchr("\\/:*?\"<>|", c));
  if (whole_utf8(name)) check(whole_utf8(out));
  return 0;
}
