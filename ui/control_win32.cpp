#include "ui/control_win32.h"

namespace qf::ui {
namespace {

constexpr UINT_PTR kControlHook = 0xC0A7;
const wchar_t kObjectProperty[] = L"QfControlObject";

}  // namespace

CControl::~CControl() {
  HWND window = hwnd_;
  bool owned = owns_window_;
  release();
  if (owned && window && IsWindow(window)) DestroyWindow(window);
}

CControl* CControl::from_window(HWND window) {
  return window ? static_cast<CControl*>(GetPropW(window, kObjectProperty)) : nullptr;
}

bool CControl::create_window(const wchar_t* class_name, const ControlCreateArgs& args) {
  HWND window = CreateWindowExW(args.ex_style, class_name, args.text, WS_CHILD | args.style, args.x, args.y,
                                args.width, args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), GetModuleHandleW(nullptr),
                                nullptr);
  if (!window) return false;
  attach(window);
  owns_window_ = true;
  return true;
}

void CControl::attach(HWND window) {
  if (window == hwnd_) return;
  release();
  hwnd_ = window;
  if (!hwnd_) return;
  SetPropW(hwnd_, kObjectProperty, this);
  SetWindowSubclass(hwnd_, control_proc, kControlHook, reinterpret_cast<DWORD_PTR>(this));
  parent_ = GetParent(hwnd_);
  // One hook per control: several controls may share a parent.
  if (parent_) SetWindowSubclass(parent_, parent_proc, reinterpret_cast<UINT_PTR>(this),
                                 reinterpret_cast<DWORD_PTR>(this));
}

void CControl::unhook_parent() {
  if (parent_) RemoveWindowSubclass(parent_, parent_proc, reinterpret_cast<UINT_PTR>(this));
  parent_ = nullptr;
}

void CControl::release() {
  unhook_parent();
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, control_proc, kControlHook);
    RemovePropW(hwnd_, kObjectProperty);
  }
  hwnd_ = nullptr;
  owns_window_ = false;
}

void CControl::move(int x, int y, int width, int height) const {
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, TRUE);
}

void CControl::show(bool visible) const {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

LRESULT CControl::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  return default_handling(message, wparam, lparam);
}

LRESULT CControl::default_handling(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CControl::on_notify(NMHDR*, bool& handled) {
  handled = false;
  return 0;
}

bool CControl::on_command(int) { return false; }

bool CControl::on_draw_item(const DRAWITEMSTRUCT&) { return false; }

bool CControl::from_me(UINT message, LPARAM lparam) const {
  switch (message) {
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(lparam)->hwndFrom == hwnd_;
    case WM_COMMAND: return reinterpret_cast<HWND>(lparam) == hwnd_ && hwnd_ != nullptr;
    case WM_DRAWITEM: return reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem == hwnd_ && hwnd_ != nullptr;
    default: return false;
  }
}

LRESULT CALLBACK CControl::control_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR data) {
  auto* self = reinterpret_cast<CControl*>(data);
  if (message == WM_NCDESTROY) {
    self->release();
    return DefSubclassProc(window, message, wparam, lparam);
  }
  return self->on_message(message, wparam, lparam);
}

LRESULT CALLBACK CControl::parent_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                       DWORD_PTR data) {
  auto* self = reinterpret_cast<CControl*>(data);
  if (message == WM_NCDESTROY) {
    self->unhook_parent();
  } else if (self->from_me(message, lparam)) {
    bool handled = false;
    LRESULT result = 0;
    if (message == WM_NOTIFY) {
      result = self->on_notify(reinterpret_cast<NMHDR*>(lparam), handled);
    } else if (message == WM_COMMAND) {
      handled = self->on_command(HIWORD(wparam));
    } else {
      handled = self->on_draw_item(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
      result = handled ? TRUE : 0;
    }
    if (handled) return result;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace qf::ui
