#pragma once
// The broken-down local time of a moment, through the thread-safe call each
// platform's C runtime offers.
#include <ctime>

namespace qf {

// False when the runtime cannot convert `t` (out of its range); `out` is
// then unspecified.
bool LocalTimeFields(std::time_t t, std::tm& out);

}  // namespace qf
