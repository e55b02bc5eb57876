#pragma once
// CHeaderCtrlCheck: the check-box list's header, 30 px high, drawn by the
// program: the stretched background strip, separators, centred titles with
// an ellipsis, the sort arrow of the sorted column and a select-all box at
// (5, 7). A click on the box flips it and sends WM_HEADER_CHECK_ALL
// (wParam the new state, 1 or 0) to the list. Column dividers cannot be
// dragged, so the widths stay as set.
#include <windows.h>

#include "ui/control_win32.h"
#include "ui/skin_image_win32.h"

namespace qf::ui {

class CHeaderCtrlCheck : public CControl {
 public:
  static constexpr int kHeight = 30;
  static constexpr int kBoxId = 0x51C;

  CHeaderCtrlCheck();
  // Takes over the list view's own header.
  void take_over(HWND header);

  bool box_checked() const;
  void set_box_checked(bool checked);
  HWND box() const { return box_; }
  // -1: no sorted column.
  void set_sort(int column, bool ascending);

  void paint(HDC dc) const;

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT on_notify(NMHDR* header, bool& handled) override;

 private:
  SkinImage background_, inc_, dec_;
  HWND box_ = nullptr;
  int sort_column_ = -1;
  bool ascending_ = true;
};

}  // namespace qf::ui
