#include "records/date_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

namespace qf {
namespace {

// POSIX-style zone names that both the C library here and the Windows C
// runtime understand: "EST5" is UTC-5, "JST-9" is UTC+9, neither with DST.
void set_time_zone(const char* tz) {
#ifdef _WIN32
  _putenv_s("TZ", tz);
  _tzset();
#else
  setenv("TZ", tz, 1);
  tzset();
#endif
}

class DateText : public ::testing::Test {
 protected:
  void TearDown() override { set_time_zone("UTC0"); }
};

TEST_F(DateText, UtcRendersTheMillisecondsTruncatedToSeconds) {
  set_time_zone("UTC0");
  EXPECT_EQ(DateTextFromMillis(0), "1970-01-01 00:00:00");
  EXPECT_EQ(DateTextFromMillis(999), "1970-01-01 00:00:00");
  EXPECT_EQ(DateTextFromMillis(1700000000999), "2023-11-14 22:13:20");
  EXPECT_EQ(DateTextFromMillis(951782400000), "2000-02-29 00:00:00");
  EXPECT_EQ(DateTextFromMillis(kLatestDateSeconds * 1000 + 999), "3000-12-31 17:59:59");
  EXPECT_EQ(DateTextFromMillis(1700000000999).size(), 19u);
}

TEST_F(DateText, OutOfRangeSecondsBecomeTheEpoch) {
  set_time_zone("UTC0");
  for (std::int64_t ms : {std::int64_t{-1000}, std::int64_t{-1}, (kLatestDateSeconds + 1) * 1000,
                          INT64_MIN, INT64_MAX}) {
    SCOPED_TRACE(ms);
    EXPECT_EQ(DateTextFromMillis(ms), "1970-01-01 00:00:00");
  }
  // -999 ms truncates to 0 seconds: in range.
  EXPECT_EQ(DateTextFromMillis(-999), "1970-01-01 00:00:00");
}

TEST_F(DateText, UsesTheLocalTimeZone) {
  set_time_zone("EST5");
  EXPECT_EQ(DateTextFromMillis(1700000000000), "2023-11-14 17:13:20");
  set_time_zone("JST-9");
  EXPECT_EQ(DateTextFromMillis(1700000000000), "2023-11-15 07:13:20");
  // The clamped value is the epoch in local time, not a fixed text.
  EXPECT_EQ(DateTextFromMillis(-5000), "1970-01-01 09:00:00");
  EXPECT_EQ(DateTextFromMillis(kLatestDateSeconds * 1000), "3001-01-01 02:59:59");
}

}  // namespace
}  // namespace qf
