#pragma once
// CControl: the base of the child controls the program draws and drives
// itself (tree, list, header, panes). A control is made from a creation-
// arguments struct, or takes over a window that already exists (a control of
// a dialog template, a list view's header). The base hooks two windows:
//  - the control's own window: its messages reach on_message();
//  - the parent: the notifications the control sends there (WM_NOTIFY,
//    WM_COMMAND, WM_DRAWITEM from this control) reach on_notify(),
//    on_command() and on_draw_item() first, so the parent's own window
//    procedure never has to forward them. What the control leaves unhandled
//    goes on to the parent as usual (the owner still sees, for example, the
//    tree's selection change).
// Both hooks end when their window is destroyed or the object goes; the
// object destroys a window it created itself. Interface thread only.
#include <windows.h>
#include <commctrl.h>

namespace qf::ui {

struct ControlCreateArgs {
  HWND parent = nullptr;
  int id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  DWORD style = WS_VISIBLE;  // WS_CHILD is always added
  DWORD ex_style = 0;
  const wchar_t* text = L"";
};

class CControl {
 public:
  virtual ~CControl();
  CControl(const CControl&) = delete;
  CControl& operator=(const CControl&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND parent() const { return parent_; }
  int id() const { return hwnd_ ? GetDlgCtrlID(hwnd_) : 0; }
  void move(int x, int y, int width, int height) const;
  void show(bool visible) const;

  // The control object behind `window`, or null.
  static CControl* from_window(HWND window);

 protected:
  CControl() = default;

  // Creates a window of `class_name` from `args` and hooks it; false when
  // the system refused the window.
  bool create_window(const wchar_t* class_name, const ControlCreateArgs& args);
  // Hooks an existing window (and its parent), releasing an earlier one.
  void attach(HWND window);

  // A message to the control's own window. The default runs the class's own
  // behaviour (default_handling).
  virtual LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT default_handling(UINT message, WPARAM wparam, LPARAM lparam);
  // For a control that draws itself entirely: WM_PAINT and WM_PRINTCLIENT
  // go to `draw` (the whole client area into the device), erase requests
  // are answered as done. True when `message` was one of them.
  template <typename Draw>
  bool answer_paint(UINT message, WPARAM wparam, Draw draw);

  // A WM_NOTIFY the control sent to its parent. Set `handled` to answer it
  // with the result instead of passing it on to the parent.
  virtual LRESULT on_notify(NMHDR* header, bool& handled);
  // A WM_COMMAND the control sent to its parent; true when handled.
  virtual bool on_command(int code);
  // An owner-draw request for the control; true when drawn.
  virtual bool on_draw_item(const DRAWITEMSTRUCT& item);

 private:
  static LRESULT CALLBACK control_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK parent_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool from_me(UINT message, LPARAM lparam) const;
  void unhook_parent();
  void release();

  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
  bool owns_window_ = false;
};

template <typename Draw>
bool CControl::answer_paint(UINT message, WPARAM wparam, Draw draw) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      draw(dc);
      EndPaint(hwnd_, &ps);
      return true;
    }
    case WM_PRINTCLIENT:
      draw(reinterpret_cast<HDC>(wparam));
      return true;
    case WM_ERASEBKGND:
      return true;
    default:
      return false;
  }
}

}  // namespace qf::ui
