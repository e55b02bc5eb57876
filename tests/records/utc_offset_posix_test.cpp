// Report times carry the UTC offset the phone's zone had at that moment,
// summer time included.
#include "records/utc_offset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace qf {
namespace {

class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old, had_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (had_) setenv("TZ", saved_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }

 private:
  std::string saved_;
  bool had_ = false;
};

TEST(UtcOffset, LocalTimesGetTheOffsetOfTheirDate) {
  struct Case {
    const char* zone;
    const char* local;
    const char* offset;
  };
  const Case cases[] = {
      {"UTC", "2024-05-01 12:00:00", "+00:00"},
      {"Europe/Berlin", "2024-01-15 12:00:00", "+01:00"},
      {"Europe/Berlin", "2024-07-15 12:00:00", "+02:00"},
      {"America/New_York", "2024-01-15 12:00:00", "-05:00"},
      {"Asia/Kolkata", "2024-01-15 12:00:00", "+05:30"},
      {"UTC", "2024-05-01 12:00", ""},        // not a full date time
      {"UTC", "2024-05-01 12:00:00x", ""},
      {"UTC", "", ""},
  };
  for (const Case& c : cases) {
    TimeZone zone(c.zone);
    EXPECT_EQ(UtcOffsetOfLocalText(c.local), c.offset) << c.zone << " " << c.local;
  }
  TimeZone berlin("Europe/Berlin");
  EXPECT_EQ(IsoLocalTime(1720000000), "2024-07-03T11:46:40+02:00");
}

}  // namespace
}  // namespace qf
