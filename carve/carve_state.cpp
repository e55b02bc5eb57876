#include "carve/carve_state.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace qf {
namespace {

// ctime's form ("Tue Dec  8 09:24:04 2026") built from a thread-safe
// localtime, since the scan thread and the carve command may run at once.
std::string ctime_text(std::time_t now) {
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kDays[tm.tm_wday % 7],
                kMonths[tm.tm_mon % 12], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                tm.tm_year + 1900);
  return text;
}

}  // namespace

std::string full_path_or_self(const std::string& path) {
  std::error_code error;
  const auto full = std::filesystem::absolute(std::filesystem::u8path(path), error);
  if (error) return path;
  return full.u8string();
}

void init_carve_state(carve_state& state) {
  state = carve_state{};
  state.config_path = full_path_or_self("carver.conf");
  state.output_dir = full_path_or_self("output");
  state.start_time = ctime_text(std::time(nullptr));
}

}  // namespace qf
