#include "ui/subclassed_control_win32.h"

#include <commctrl.h>

namespace qf::ui {
namespace {

constexpr UINT_PTR kSubclassId = 0x51B7;

}  // namespace

CSubclassedControl::~CSubclassedControl() { release(); }

void CSubclassedControl::release() {
  if (hwnd_) RemoveWindowSubclass(hwnd_, subclass_proc, kSubclassId);
  hwnd_ = nullptr;
}

void CSubclassedControl::take_over(HWND window) {
  if (window == hwnd_) return;
  release();
  hwnd_ = window;
  if (hwnd_) SetWindowSubclass(hwnd_, subclass_proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CSubclassedControl::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  return default_handling(message, wparam, lparam);
}

LRESULT CSubclassedControl::default_handling(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK CSubclassedControl::subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                                   UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CSubclassedControl*>(data);
  switch (message) {
    case WM_NCDESTROY:
      self->release();
      return DefSubclassProc(window, message, wparam, lparam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      self->paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      self->paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return self->handle(message, wparam, lparam);
  }
}

}  // namespace qf::ui
