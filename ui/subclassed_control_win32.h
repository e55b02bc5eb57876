#pragma once
// CSubclassedControl: the base of the controls that take over an existing
// child window (from a dialog template) by subclassing it and then draw it
// entirely themselves. The base answers WM_PAINT and WM_PRINTCLIENT with
// paint() and erase requests as done (no flicker); every other message goes
// to handle(), whose default is the control's own behaviour. The subclass
// ends when the window is destroyed or the object goes, whichever is first.
#include <windows.h>

namespace qf::ui {

class CSubclassedControl {
 public:
  CSubclassedControl(const CSubclassedControl&) = delete;
  CSubclassedControl& operator=(const CSubclassedControl&) = delete;
  HWND hwnd() const { return hwnd_; }

 protected:
  CSubclassedControl() = default;
  virtual ~CSubclassedControl();

  // Subclasses `window`, releasing an earlier one.
  void take_over(HWND window);
  // Draws the whole control into `dc` at (0, 0).
  virtual void paint(HDC dc) const = 0;
  // Messages other than paint and erase; the default runs the control's own.
  virtual LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT default_handling(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void release();
  HWND hwnd_ = nullptr;
};

}  // namespace qf::ui
