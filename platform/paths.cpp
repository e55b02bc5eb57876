#include "platform/paths.h"

namespace qf {

std::string join_path(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (!out.empty() && out.back() != '/' && out.back() != '\\') out += kPathSeparator;
  out += name;
  return out;
}

}  // namespace qf
