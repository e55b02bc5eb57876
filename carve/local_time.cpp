#include "carve/local_time.h"

#include "platform/local_time_fields.h"

namespace qf {

std::tm local_now() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  LocalTimeFields(now, tm);
  return tm;
}

std::string local_time_text(const char* format) {
  const std::tm tm = local_now();
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, format, &tm);
  return std::string(text, n);
}

}  // namespace qf
