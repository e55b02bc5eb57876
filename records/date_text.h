#pragma once
// The "date" column of an SMS (milliseconds since 1970-01-01 UTC) as the
// local-time text the lists, panes and reports show.
#include <cstdint>
#include <string>

namespace qf {

// Seconds above this (3000-12-31 17:59:59 UTC) or below 0 are shown as 0:
// the Windows C runtime cannot convert times past the year 3000.
constexpr std::int64_t kLatestDateSeconds = 32535194399;

// "%Y-%m-%d %H:%M:%S" in the process's local time zone; 19 characters.
// Seconds are date_ms / 1000 truncated; out-of-range seconds become 0.
std::string DateTextFromMillis(std::int64_t date_ms);

}  // namespace qf
