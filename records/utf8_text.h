#pragma once
// Record texts are the phone's bytes, which need not be valid UTF-8 (a
// recovered fragment can be cut mid-character). Formats that promise UTF-8
// (CSV, JSON) get each invalid byte as U+FFFD instead.
#include <string>
#include <string_view>

namespace qf {

std::string ValidUtf8(std::string_view bytes);

}  // namespace qf
