#pragma once
// The local time, read in a thread-safe way (the scan, save and recover
// threads all stamp texts with it).
#include <ctime>
#include <string>

namespace qf {

std::tm local_now();

// strftime of the local time, e.g. "%Y-%m-%d".
std::string local_time_text(const char* format);

}  // namespace qf
