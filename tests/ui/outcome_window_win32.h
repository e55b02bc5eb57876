#pragma once
// A hidden window that records the update outcomes it is sent or posted
// (WM_UPDATE_AVAILABLE), taking them over as the main window does.
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/app_messages.h"
#include "ui/update_notice_win32.h"

namespace qf::test {

// A window that records the update outcomes it is sent or posted.
class OutcomeWindow {
 public:
  OutcomeWindow() {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QfOutcomeWindow";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExW(0, L"QfOutcomeWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~OutcomeWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  // Pumps messages until an outcome arrives or `ms` pass.
  bool wait(DWORD ms) {
    DWORD start = GetTickCount();
    while (outcomes.empty() && GetTickCount() - start < ms) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return !outcomes.empty();
  }
  std::vector<std::pair<WPARAM, ui::UpdateOutcome>> outcomes;

 private:
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<OutcomeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_UPDATE_AVAILABLE && self) {
      self->outcomes.emplace_back(wparam, ui::take_update_outcome(lparam));
      return 1;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
};

}  // namespace qf::test
