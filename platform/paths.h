#pragma once
// Path joining with the platform's separator: the Windows program joins with
// a backslash, the portable tools on Linux with a slash. Paths are UTF-8.
#include <string>
#include <string_view>

namespace qf {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// "a" + "b" -> "a/b"; no doubled separator when `dir` already ends with one.
std::string join_path(std::string_view dir, std::string_view name);

}  // namespace qf
