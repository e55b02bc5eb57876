// Process entry of the Windows program (placeholder window until the main
// window exists). With --smoke-test the window closes itself once it has been
// shown, and the exit code tells whether creation, showing and closing
// happened in that order: 0 yes, 3 the window could not be created, 4 the
// close came before the window was shown.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <stdlib.h>

#include <cwchar>

#include "app/resource.h"

namespace {

constexpr UINT_PTR kSmokeTimer = 1;
bool g_smoke_test = false;
bool g_shown = false;

INT_PTR CALLBACK placeholder_proc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (g_smoke_test) SetTimer(window, kSmokeTimer, 200, nullptr);
      return TRUE;
    case WM_SHOWWINDOW:
      if (wparam) g_shown = true;
      return FALSE;
    case WM_TIMER:
      if (wparam == kSmokeTimer) {
        KillTimer(window, kSmokeTimer);
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(g_shown ? 0 : 4);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show) {
  _set_error_mode(_OUT_TO_STDERR);
  g_smoke_test = command_line && std::wcsstr(command_line, L"--smoke-test") != nullptr;

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&controls);

  HWND window = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PLACEHOLDER), nullptr,
                                   placeholder_proc, 0);
  if (!window) {
    CoUninitialize();
    return g_smoke_test ? 3 : 0;
  }
  ShowWindow(window, show);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  CoUninitialize();
  return static_cast<int>(msg.wParam);
}
