#include "records/program_folder.h"

#include <windows.h>

#include <vector>

#include "platform/utf_win32.h"

namespace qf {

std::string program_folder() {
  // GetModuleFileNameW truncates silently when the buffer is short: grow it
  // until the whole path fits (long paths exceed MAX_PATH).
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      std::wstring full(path.data(), length);
      std::size_t slash = full.find_last_of(L"\\/");
      return narrow(slash == std::wstring::npos ? std::wstring() : full.substr(0, slash));
    }
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
}

}  // namespace qf
