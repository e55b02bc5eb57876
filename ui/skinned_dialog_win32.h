#pragma once
// CSkinnedDialog: the rules every top-level window of the program follows,
// as a base for dialogs made from .rc templates:
//  - no platform frame; sized to its background (size_to_background) and
//    centred over its owner, clipped to a rounded region with 5 x 5 corners
//    (re-applied on every size change);
//  - a left press on the body (not on a control) drags the window;
//  - erase requests are answered as done; painting goes into one memory
//    bitmap of the client size (paint_body) copied to the screen at once;
//  - static controls draw transparently (their colour request gets the null
//    brush; static_text_colour() sets their text colour);
//  - after each paint, the background copies of the registered image
//    buttons are refreshed from the freshly painted bitmap;
//  - Enter and Escape (IDOK / IDCANCEL) do nothing: a skinned window ends
//    only through its own buttons.
// WM_PRINTCLIENT paints the body into the given device (tests, screenshots).
#include <windows.h>

#include <vector>

namespace qf::ui {

class CImgButton;

class CSkinnedDialog {
 public:
  CSkinnedDialog() = default;
  virtual ~CSkinnedDialog() = default;
  CSkinnedDialog(const CSkinnedDialog&) = delete;
  CSkinnedDialog& operator=(const CSkinnedDialog&) = delete;

  // Runs the dialog template `template_id` of the executable modally over
  // `owner`; returns the result given to end(), or -1 when it cannot open.
  INT_PTR run_modal(int template_id, HWND owner);
  // Creates it modeless (the caller's message loop runs it); null on failure.
  HWND create_modeless(int template_id, HWND owner);

  HWND hwnd() const { return hwnd_; }

 protected:
  // First message: lay out controls, attach buttons. Return what
  // WM_INITDIALOG should return (TRUE: the system sets the focus).
  virtual BOOL on_init() { return TRUE; }
  // Draws the whole client area (width x height) into `dc`.
  virtual void paint_body(HDC dc, int width, int height) = 0;
  // A command from a control (Enter/Escape never arrive); true when handled.
  virtual bool on_command(int id, int code) {
    (void)id;
    (void)code;
    return false;
  }
  // Any other message; set `handled` to answer it with the result.
  virtual INT_PTR on_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
    (void)message;
    (void)wparam;
    (void)lparam;
    handled = false;
    return 0;
  }

  // Sizes the window to width x height, centres it over its owner (or its
  // monitor's work area, kept inside that area) and applies the region.
  void size_to_background(int width, int height);
  // Rounded rectangle (0, 0, width + 1, height + 1), 5 x 5 corner ellipses.
  void apply_round_region();
  // Buttons whose background copies follow each paint.
  void add_image_button(CImgButton* button);
  void set_static_text_colour(COLORREF colour) { static_colour_ = colour; }
  // Ends a modal dialog with `result` (destroys a modeless one).
  void end(INT_PTR result);

 private:
  static INT_PTR CALLBACK dialog_proc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
  void paint_to(HDC target);

  HWND hwnd_ = nullptr;
  bool modal_ = false;
  COLORREF static_colour_ = RGB(0, 0, 0);
  std::vector<CImgButton*> buttons_;
};

}  // namespace qf::ui
