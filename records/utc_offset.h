#pragma once
// Local times with their offset from UTC, so a reader in another time zone
// (or a court) knows which instant a report's time means.
#include <ctime>
#include <string>

namespace qf {

// "+02:00", "-05:30", "+00:00": the local zone's offset at instant `t`.
std::string UtcOffsetText(std::time_t t);

// The offset the local zone had at a local time text "%Y-%m-%d %H:%M:%S"
// (a message's date_text); empty when the text is not such a time.
std::string UtcOffsetOfLocalText(const std::string& local_text);

// "2026-12-08T17:30:05+01:00": instant `t` in local time, ISO 8601.
std::string IsoLocalTime(std::time_t t);

}  // namespace qf
