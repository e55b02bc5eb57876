#pragma once
// CListViewCheck1: the check-box report list of the data page. One row per
// record of the selected tree item, paged in by 100 (at the end of a scroll
// or a wheel turn at the bottom, and by the keyboard moving past the last
// row), drawn by the program: row colours, grid, the check frame, the
// deleted and file marks, red text for deleted records, ellipses with the
// full text in a tooltip. The rows are a CheckListModel over the records,
// so checks are the records' own flags.
//
// To the parent (sent):
//   WM_LIST_ITEM_CHECKED  wParam the row (kAllRows: the select-all box set
//                         every record of the source at once), lParam the
//                         new state (1 checked, 0 unchecked)
// Row selection changes reach the parent as the platform's LVN_ITEMCHANGED.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "ui/check_list_model.h"
#include "ui/control_win32.h"
#include "ui/header_ctrl_check_win32.h"
#include "ui/skin_image_win32.h"

namespace qf::ui {

class CListViewCheck1 : public CControl {
 public:
  static constexpr WPARAM kAllRows = static_cast<WPARAM>(-1);
  static constexpr int kDefaultRowHeight = 50;

  CListViewCheck1();
  ~CListViewCheck1() override;
  // `row_height` 0: the control's default of 50 (the main window asks for 30).
  bool create(const ControlCreateArgs& args, int row_height = 30);

  // Replaces the rows with the first page of `source` (its mode's columns
  // when the mode changes), sets the select-all box from the records, and
  // selects the first row. Null empties the list.
  void fill(std::unique_ptr<ListRowSource> source);
  void clear() { fill(nullptr); }
  ListMode mode() const { return model_.mode(); }
  const CheckListModel& model() const { return model_; }
  int rows() const { return static_cast<int>(model_.rows()); }
  // The record or file item behind `row` (null when out of range).
  void* row_item(int row) const;
  int selected_row() const;
  void select_row(int row);
  // Pages in the next rows; returns how many came.
  size_t load_more_rows();

  // Every record of the source to `checked` (the tree's check of the
  // selected item), box and rows repainted; nothing sent.
  void set_all_checked(bool checked);
  // A click on the row's check frame: flips it, sends the notification.
  void click_check(int row);
  // A click on the select-all box: every record, one notification.
  void check_all(bool checked);
  void sort_by(int column);

  CHeaderCtrlCheck& header() { return header_; }
  RECT check_rect(int row) const;
  // The tooltip's text for the cell under the mouse: its full text when cut off.
  const std::wstring& tip_text() const { return tip_text_; }
  RECT cell_rect(int row, int column) const;
  // Draws one row as the owner-draw request would.
  void paint_row(HDC dc, int row, const RECT& rect, bool selected) const;

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT on_notify(NMHDR* header, bool& handled) override;
  bool on_draw_item(const DRAWITEMSTRUCT& item) override;

 private:
  void set_columns(ListMode mode);
  void sync_rows();
  void refresh_box();
  bool at_bottom() const;
  bool on_key(WPARAM key);
  void update_tip(POINT point);
  std::wstring cell_text(int row, int column) const;

  CheckListModel model_;
  CHeaderCtrlCheck header_;
  SkinImage checkbox_, deleted_, file_;
  HIMAGELIST row_height_images_ = nullptr;
  HWND tip_ = nullptr;
  int tip_row_ = -1;
  int tip_column_ = -1;
  std::wstring tip_text_;
  ListMode columns_mode_ = ListMode::None;
};

}  // namespace qf::ui
