#include "records/utc_offset.h"

#include <cstdio>
#include <cstdlib>

#include "platform/local_time_fields.h"

namespace qf {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's method):
// lets the offset be read off the local fields without timegm, which the
// Windows runtime lacks.
long long days_from_civil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

long long civil_seconds(const std::tm& f) {
  return days_from_civil(f.tm_year + 1900LL, static_cast<unsigned>(f.tm_mon + 1),
                         static_cast<unsigned>(f.tm_mday)) * 86400LL +
         f.tm_hour * 3600LL + f.tm_min * 60LL + f.tm_sec;
}

std::string offset_text(long long seconds) {
  const char sign = seconds < 0 ? '-' : '+';
  const long long minutes = std::llabs(seconds) / 60;
  char text[16];
  std::snprintf(text, sizeof text, "%c%02lld:%02lld", sign, minutes / 60, minutes % 60);
  return text;
}

}  // namespace

std::string UtcOffsetText(std::time_t t) {
  std::tm f{};
  if (!LocalTimeFields(t, f)) return "+00:00";
  return offset_text(civil_seconds(f) - static_cast<long long>(t));
}

std::string UtcOffsetOfLocalText(const std::string& local_text) {
  std::tm f{};
  char tail = 0;
  if (local_text.size() != 19 ||
      std::sscanf(local_text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &f.tm_year, &f.tm_mon, &f.tm_mday,
                  &f.tm_hour, &f.tm_min, &f.tm_sec, &tail) != 6) {
    return {};
  }
  f.tm_year -= 1900;
  f.tm_mon -= 1;
  f.tm_isdst = -1;
  const std::time_t t = std::mktime(&f);
  if (t == static_cast<std::time_t>(-1)) return {};
  return UtcOffsetText(t);
}

std::string IsoLocalTime(std::time_t t) {
  std::tm f{};
  if (!LocalTimeFields(t, f)) return {};
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &f);
  return text + UtcOffsetText(t);
}

}  // namespace qf
