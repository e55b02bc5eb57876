#include "carve/carve_state.h"

#include <cstdio>
#include <filesystem>

#include "carve/local_time.h"

namespace qf {
namespace {

// ctime's form ("Tue Dec  8 09:24:04 2026") built from a thread-safe
// local time, since the scan thread and the carve command may run at once.
std::string ctime_text() {
  const std::tm tm = local_now();
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
  state.start_time = ctime_text();
}

void carve_note(const carve_state& state, const std::string& text) {
  if (state.note) state.note(text, state.user_data);
}

}  // namespace qf
