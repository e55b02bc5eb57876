// Process entry of the Windows program. With --smoke-test the window closes
// itself once it has been shown; the exit code is 0 only when creation,
// showing and closing happened in that order (3: the window could not be
// created, 4: the close came before the window was shown).
#include <windows.h>
#include <stdlib.h>

#include <cwchar>

#include "app/main_dlg_win32.h"
#include "app/process_entry_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show) {
  // An assert must print, not open a message box nobody answers.
  _set_error_mode(_OUT_TO_STDERR);
  qf::app::CMainDlg::Options options;
  options.smoke_test = command_line && std::wcsstr(command_line, L"--smoke-test") != nullptr;
  bool created = false;
  int code = qf::app::run_process_entry(instance, show, [&] {
    auto window = std::make_unique<qf::app::CMainDlg>(options);
    created = true;
    return window;
  });
  return options.smoke_test && !created ? 3 : code;
}
