#include "app/disk_image_arguments_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/utf_win32.h"

namespace qf::app {

std::vector<std::string> disk_image_arguments(const wchar_t* command_line) {
  std::vector<std::string> images;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(command_line, &count);
  if (!args) return images;
  for (int i = 1; i < count; ++i) {
    const std::wstring arg = args[i];
    if (arg.empty() || arg.rfind(L"--", 0) == 0) continue;
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(arg.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    images.push_back(narrow(length > 0 && length < std::size(full) ? std::wstring(full) : arg));
  }
  LocalFree(args);
  return images;
}

}  // namespace qf::app
