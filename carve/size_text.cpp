#include <cstdio>

#include "carve/cdr_info.h"

namespace qf {
namespace {

// One decimal in powers of 1024, with no step above GB; `byte_unit` names the
// unit of counts below 1 KB ("Byte" in the storage tree, "B" in file lists).
std::string size_text_with(std::uint64_t bytes, const char* byte_unit) {
  const double v = static_cast<double>(bytes);
  char text[64];
  const double kb = v / 1024;
  const double mb = kb / 1024;
  if (kb < 1) {
    std::snprintf(text, sizeof text, "%.1f %s", v, byte_unit);
  } else if (mb < 1) {
    std::snprintf(text, sizeof text, "%.1f KB", kb);
  } else if (mb / 1024 < 1) {
    std::snprintf(text, sizeof text, "%.1f MB", mb);
  } else {
    std::snprintf(text, sizeof text, "%.1f GB", mb / 1024);
  }
  return text;
}

}  // namespace

std::string size_text(std::uint64_t bytes) { return size_text_with(bytes, "Byte"); }
std::string size_text_short(std::uint64_t bytes) { return size_text_with(bytes, "B"); }

}  // namespace qf
