#include "ui/web_pages_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace qf::ui {

void open_web_page(const wchar_t* address) {
  ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qf::ui
