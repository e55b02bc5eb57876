#pragma once
// Walking the client's answer line by line. Lines end at line feeds; a
// carriage return stays at the end of its line (callers search substrings or
// fixed columns, which it does not disturb).
#include <string_view>

namespace qf::device {

// Cuts the first line off `text` and returns it (without its line feed).
inline std::string_view take_line(std::string_view& text) {
  std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

}  // namespace qf::device
