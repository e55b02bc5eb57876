#pragma once
// CImgButton: a push button drawn from a picture strip of equal frames laid
// side by side. Frames of a 4-frame strip: 0 normal, 1 hover, 2 pressed,
// 3 inactive (a shorter strip uses its last frame for the missing ones).
//
// The button blends its frame over a copy of the parent's pixels under it,
// so the parent must hand it that copy: right after painting itself the
// parent calls refresh_background() with its freshly painted device (the
// skinned windows of skinned_dialog_win32.h do this for their buttons).
// The click reaches the parent as an ordinary WM_COMMAND / BN_CLICKED.
//
// Enter never presses an image button (it is never the dialog's default
// button); an inactive button ignores the mouse: no hover, no press, no
// hand cursor. Interface thread only.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/memory_canvas_win32.h"
#include "ui/skin_image_win32.h"
#include "ui/subclassed_control_win32.h"

namespace qf::ui {

class CImgButton : public CSubclassedControl {
 public:
  enum Frame { kNormal = 0, kHover = 1, kPressed = 2, kInactive = 3 };

  CImgButton() = default;

  // Takes over `button` (a child push button): owner-drawn style, strip from
  // `image_path` with `frames` frames (replacing an earlier one), moved to
  // (x, y) with the frame size and shown. A negative x counts from the
  // parent's right edge (x + parent width - frame width), a negative y from
  // its bottom edge. A picture that fails to load gives a 0 x 0 button.
  bool attach(HWND button, const std::wstring& image_path, int x, int y, int frames);

  // Moves the button by the same rule as attach().
  void move_to(int x, int y);

  // Copies the parent's pixels at (x, y), frame size, from `parent_dc` into
  // the background copy and repaints the button. The short form uses the
  // button's place in its parent's client area.
  void refresh_background(HDC parent_dc, int x, int y);
  void refresh_background(HDC parent_dc);

  // Active or inactive (frame 3, mouse ignored); repaints. The owner enables
  // or disables the control itself.
  void set_active(bool active);

  bool active() const { return active_; }
  bool hover() const { return hover_; }
  bool pressed() const { return pressed_; }
  int frame_width() const { return frame_width_; }
  int frame_height() const { return frame_height_; }
  // The frame the button draws in its present state.
  int current_frame() const;

 private:
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
  void paint(HDC target) const override;

  SkinImage strip_;
  int frames_ = 1;
  int frame_width_ = 0;
  int frame_height_ = 0;
  bool hover_ = false;
  bool tracking_ = false;
  bool pressed_ = false;
  bool active_ = true;
  std::unique_ptr<MemoryCanvas> background_;
};

}  // namespace qf::ui
