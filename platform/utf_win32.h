#pragma once
// UTF-8 <-> UTF-16 at the Windows boundary. Record texts and paths stay UTF-8
// everywhere else; only window texts and file-system calls take UTF-16.
#include <string>
#include <string_view>

namespace qf {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace qf
