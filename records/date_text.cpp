#include "records/date_text.h"

#include <ctime>

namespace qf {

namespace {

bool to_local(std::time_t t, std::tm& out) {
#ifdef _WIN32
  return localtime_s(&out, &t) == 0;
#else
  return localtime_r(&t, &out) != nullptr;
#endif
}

}  // namespace

std::string DateTextFromMillis(std::int64_t date_ms) {
  std::int64_t seconds = date_ms / 1000;
  if (seconds < 0 || seconds > kLatestDateSeconds) seconds = 0;
  std::tm local{};
  // A zone far east of UTC can push the year-3000 limit past what the C
  // runtime converts; such a date is shown like any other out-of-range one.
  if (!to_local(static_cast<std::time_t>(seconds), local) && !to_local(0, local)) {
    std::time_t zero = 0;
#ifdef _WIN32
    gmtime_s(&local, &zero);
#else
    gmtime_r(&zero, &local);
#endif
  }
  char buffer[20] = {};
  if (std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local) == 0) return std::string();
  return buffer;
}

}  // namespace qf
