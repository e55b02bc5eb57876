#include "ui/img_button_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace qf::ui {
namespace {

// The place of `child` in its parent's client area.
POINT place_in_parent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  POINT p{r.left, r.top};
  ScreenToClient(GetParent(child), &p);
  return p;
}

}  // namespace

bool CImgButton::attach(HWND button, const std::wstring& image_path, int x, int y, int frames) {
  if (!button) return false;
  take_over(button);
  LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  SetWindowLongPtrW(hwnd(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);

  strip_.load(image_path);
  frames_ = std::max(frames, 1);
  frame_width_ = strip_.width() / frames_;
  frame_height_ = strip_.height();
  background_ = std::make_unique<MemoryCanvas>(frame_width_, frame_height_);
  move_to(x, y);
  ShowWindow(hwnd(), SW_SHOW);
  InvalidateRect(hwnd(), nullptr, FALSE);
  return true;
}

void CImgButton::move_to(int x, int y) {
  if (!hwnd()) return;
  RECT parent{};
  GetClientRect(GetParent(hwnd()), &parent);
  if (x < 0) x += parent.right - frame_width_;
  if (y < 0) y += parent.bottom - frame_height_;
  SetWindowPos(hwnd(), nullptr, x, y, frame_width_, frame_height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CImgButton::refresh_background(HDC parent_dc, int x, int y) {
  if (!background_ || !parent_dc) return;
  BitBlt(background_->dc(), 0, 0, frame_width_, frame_height_, parent_dc, x, y, SRCCOPY);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CImgButton::refresh_background(HDC parent_dc) {
  if (!hwnd()) return;
  POINT p = place_in_parent(hwnd());
  refresh_background(parent_dc, p.x, p.y);
}

void CImgButton::set_active(bool active) {
  active_ = active;
  if (!active_) hover_ = false;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

int CImgButton::current_frame() const {
  int frame = kNormal;
  if (!active_) {
    frame = kInactive;
  } else if (hwnd() && (SendMessageW(hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED)) {
    frame = kPressed;
  } else if (hover_) {
    frame = kHover;
  }
  return std::min(frame, frames_ - 1);
}

void CImgButton::paint(HDC target) const {
  if (frame_width_ <= 0 || frame_height_ <= 0) return;
  MemoryCanvas canvas(frame_width_, frame_height_);
  if (background_) BitBlt(canvas.dc(), 0, 0, frame_width_, frame_height_, background_->dc(), 0, 0, SRCCOPY);
  int left = current_frame() * frame_width_;
  strip_.draw_part(canvas.dc(), RECT{0, 0, frame_width_, frame_height_},
                   RECT{left, 0, left + frame_width_, frame_height_});
  canvas.copy_to(target);
}

LRESULT CImgButton::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_BUTTON;  // never the default button, so Enter never presses it
    case BM_SETSTATE: {
      LRESULT result = default_handling(message, wparam, lparam);
      if (!wparam && active_) pressed_ = false;
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_MOUSEMOVE:
      if (!active_) return 0;
      if (GetCapture() == window) {
        // Held down: pushed only while the pointer is over the button.
        POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        ClientToScreen(window, &p);
        SendMessageW(window, BM_SETSTATE, WindowFromPoint(p) == window, 0);
      } else if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
        hover_ = tracking_;
        InvalidateRect(window, nullptr, FALSE);
      }
      return default_handling(message, wparam, lparam);
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (active_) {
        hover_ = false;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!active_) return 0;
      if (tracking_) {
        TRACKMOUSEEVENT cancel{sizeof(cancel), TME_LEAVE | TME_CANCEL, window, 0};
        if (TrackMouseEvent(&cancel)) hover_ = false;
        tracking_ = false;
      }
      pressed_ = true;
      return default_handling(message, wparam, lparam);
    case WM_SETCURSOR:
      if (active_) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return default_handling(message, wparam, lparam);
    default:
      return default_handling(message, wparam, lparam);
  }
}

}  // namespace qf::ui
