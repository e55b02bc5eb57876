#include "records/date_text.h"

#include <ctime>

#include "platform/local_time_fields.h"

namespace qf {

std::string DateTextFromMillis(std::int64_t date_ms) {
  std::int64_t seconds = date_ms / 1000;
  if (seconds < 0 || seconds > kLatestDateSeconds) seconds = 0;
  std::tm local{};
  // A zone far east of UTC can push the year-3000 limit past what the C
  // runtime converts; such a date is shown like any other out-of-range one.
  if (!LocalTimeFields(static_cast<std::time_t>(seconds), local) && !LocalTimeFields(0, local)) {
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
