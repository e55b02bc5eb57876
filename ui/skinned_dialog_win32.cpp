#include "ui/skinned_dialog_win32.h"

#include <algorithm>

#include "ui/img_button_win32.h"
#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

// Centre of `size` over `anchor`, moved inside `area`.
POINT centred_inside(const RECT& anchor, SIZE size, const RECT& area) {
  LONG x = anchor.left + (anchor.right - anchor.left - size.cx) / 2;
  LONG y = anchor.top + (anchor.bottom - anchor.top - size.cy) / 2;
  x = std::max(area.left, std::min(x, area.right - size.cx));
  y = std::max(area.top, std::min(y, area.bottom - size.cy));
  return POINT{x, y};
}

}  // namespace

INT_PTR CSkinnedDialog::run_modal(int template_id, HWND owner) {
  modal_ = true;
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner, dialog_proc,
                         reinterpret_cast<LPARAM>(this));
}

HWND CSkinnedDialog::create_modeless(int template_id, HWND owner) {
  modal_ = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner,
                            dialog_proc, reinterpret_cast<LPARAM>(this));
}

void CSkinnedDialog::end(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_) {
    EndDialog(hwnd_, result);
  } else {
    DestroyWindow(hwnd_);
  }
}

void CSkinnedDialog::add_image_button(CImgButton* button) {
  if (button && std::find(buttons_.begin(), buttons_.end(), button) == buttons_.end())
    buttons_.push_back(button);
}

void CSkinnedDialog::apply_round_region() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  // The window owns the region after SetWindowRgn.
  HRGN region = CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, 5, 5);
  if (!SetWindowRgn(hwnd_, region, TRUE)) DeleteObject(region);
}

void CSkinnedDialog::size_to_background(int width, int height) {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  bool over_owner = owner && IsWindowVisible(owner) && !IsIconic(owner);
  HMONITOR monitor = MonitorFromWindow(over_owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  RECT anchor = info.rcWork;
  if (over_owner) GetWindowRect(owner, &anchor);
  POINT at = centred_inside(anchor, SIZE{width, height}, info.rcWork);
  SetWindowPos(hwnd_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  apply_round_region();
}

void CSkinnedDialog::paint_to(HDC target) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  MemoryCanvas canvas(client.right, client.bottom);
  paint_body(canvas.dc(), client.right, client.bottom);
  canvas.copy_to(target);
  for (CImgButton* button : buttons_) {
    if (button->hwnd() && IsWindowVisible(button->hwnd())) button->refresh_background(canvas.dc());
  }
}

INT_PTR CALLBACK CSkinnedDialog::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CSkinnedDialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->hwnd_ = window;
  }
  auto* self = reinterpret_cast<CSkinnedDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  INT_PTR result = self->handle(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

INT_PTR CSkinnedDialog::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      // No platform frame or caption, whatever the template says.
      LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
      SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME));
      return on_init();
    }
    case WM_ERASEBKGND:
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      paint_to(dc);
      EndPaint(hwnd_, &ps);
      return TRUE;
    }
    case WM_PRINTCLIENT:
      paint_to(reinterpret_cast<HDC>(wparam));
      return TRUE;
    case WM_SIZE:
      apply_round_region();
      break;
    case WM_LBUTTONDOWN:
      // A press on the body drags the window as a press on a caption would.
      ReleaseCapture();
      SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, lparam);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wparam), static_colour_);
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    case WM_COMMAND: {
      int id = LOWORD(wparam);
      if (id == IDOK || id == IDCANCEL) return TRUE;
      if (on_command(id, HIWORD(wparam))) return TRUE;
      break;
    }
    default:
      break;
  }
  bool handled = false;
  INT_PTR result = on_message(message, wparam, lparam, handled);
  if (handled) SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return handled ? TRUE : FALSE;
}

}  // namespace qf::ui
