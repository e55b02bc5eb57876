#include "ui/list_view_check_win32.h"

#include <algorithm>

#include "platform/app_messages.h"
#include "platform/utf_win32.h"
#include "ui/font_pool_win32.h"
#include "ui/gdi_objects_win32.h"
#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

constexpr COLORREF kEvenRow = RGB(245, 245, 245);
constexpr COLORREF kOddRow = RGB(255, 255, 255);
constexpr COLORREF kSelectedRow = RGB(161, 220, 238);
constexpr COLORREF kGrid = RGB(220, 220, 220);
constexpr COLORREF kDeletedText = RGB(255, 0, 0);
constexpr int kCheckFrames = 4;
constexpr int kFrameUnchecked = 0;
constexpr int kFrameChecked = 2;
constexpr UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

int locale_compare(const std::string& a, const std::string& b) {
  std::wstring wa = widen(a), wb = widen(b);
  return CompareStringW(LOCALE_USER_DEFAULT, 0, wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                        static_cast<int>(wb.size())) - CSTR_EQUAL;
}

}  // namespace

CListViewCheck1::CListViewCheck1() : checkbox_(L"checkbox.png"), deleted_(L"deleted.png"), file_(L"file.png") {
  model_.set_text_compare(locale_compare);
}

CListViewCheck1::~CListViewCheck1() {
  if (tip_) DestroyWindow(tip_);
  if (row_height_images_) ImageList_Destroy(row_height_images_);
}

bool CListViewCheck1::create(const ControlCreateArgs& args, int row_height) {
  ControlCreateArgs a = args;
  a.style |= LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP;
  if (!create_window(WC_LISTVIEWW, a)) return false;
  SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(TkFontPool::instance().get(256)), FALSE);
  // A fixed row height comes from the height of the small image list.
  row_height_images_ = ImageList_Create(1, row_height > 0 ? row_height : kDefaultRowHeight, ILC_COLOR32, 1, 0);
  SendMessageW(hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(row_height_images_));
  header_.take_over(reinterpret_cast<HWND>(SendMessageW(hwnd(), LVM_GETHEADER, 0, 0)));
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0,
                         0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  return true;
}

void CListViewCheck1::set_columns(ListMode mode) {
  while (SendMessageW(hwnd(), LVM_DELETECOLUMN, 0, 0)) {
  }
  int index = 0;
  for (const ListColumn& c : columns_for(mode)) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_CENTER;
    column.cx = c.width;
    column.pszText = const_cast<wchar_t*>(c.title);
    SendMessageW(hwnd(), LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&column));
  }
  columns_mode_ = mode;
}

void CListViewCheck1::fill(std::unique_ptr<ListRowSource> source) {
  ListMode mode = source ? source->mode() : ListMode::None;
  model_.fill(std::move(source));
  if (mode != columns_mode_) set_columns(mode);
  header_.set_sort(model_.sort_column(), model_.ascending());
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, 0, 0);
  sync_rows();
  refresh_box();
  if (rows() > 0) select_row(0);
}

void CListViewCheck1::sync_rows() {
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, model_.rows(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CListViewCheck1::refresh_box() {
  header_.set_box_checked(model_.all_checked());
}

void* CListViewCheck1::row_item(int row) const {
  return row >= 0 && row < rows() ? model_.item(static_cast<size_t>(row)) : nullptr;
}

int CListViewCheck1::selected_row() const {
  return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CListViewCheck1::select_row(int row) {
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (row < 0 || row >= rows()) return;
  LVITEMW set{};
  set.stateMask = set.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&set));
  SendMessageW(hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
}

size_t CListViewCheck1::load_more_rows() {
  size_t added = model_.load_more();
  if (added) sync_rows();
  return added;
}

void CListViewCheck1::set_all_checked(bool checked) {
  model_.set_all_checked(checked);
  header_.set_box_checked(checked && model_.records() > 0);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CListViewCheck1::click_check(int row) {
  if (row < 0 || row >= rows()) return;
  bool now = model_.toggle(static_cast<size_t>(row));
  refresh_box();
  InvalidateRect(hwnd(), nullptr, FALSE);
  SendMessageW(parent(), WM_LIST_ITEM_CHECKED, static_cast<WPARAM>(row), now ? 1 : 0);
}

void CListViewCheck1::check_all(bool checked) {
  if (model_.records() == 0) {
    header_.set_box_checked(false);
    return;
  }
  set_all_checked(checked);
  SendMessageW(parent(), WM_LIST_ITEM_CHECKED, kAllRows, checked ? 1 : 0);
}

void CListViewCheck1::sort_by(int column) {
  model_.sort_by(column);
  header_.set_sort(model_.sort_column(), model_.ascending());
  InvalidateRect(hwnd(), nullptr, FALSE);
}

RECT CListViewCheck1::cell_rect(int row, int column) const {
  RECT r{};
  r.top = column;
  r.left = LVIR_BOUNDS;
  SendMessageW(hwnd(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  if (column == 0) {
    // The first column's "sub-item" rectangle is the whole row.
    RECT head{};
    SendMessageW(header_.hwnd(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&head));
    r.right = r.left + (head.right - head.left);
  }
  return r;
}

RECT CListViewCheck1::check_rect(int row) const {
  RECT line = cell_rect(row, 0);
  int frame_w = checkbox_.width() / kCheckFrames;
  int top = line.top + (line.bottom - line.top - checkbox_.height()) / 2;
  return RECT{line.left + 5, top, line.left + 5 + frame_w, top + checkbox_.height()};
}

std::wstring CListViewCheck1::cell_text(int row, int column) const {
  return widen(model_.cell(static_cast<size_t>(row), column));
}

void CListViewCheck1::paint_row(HDC dc, int row, const RECT& rect, bool selected) const {
  const bool is_deleted = mode() != ListMode::Files && model_.deleted(static_cast<size_t>(row));
  fill_solid(dc, rect, selected ? kSelectedRow : (row % 2 == 0 ? kEvenRow : kOddRow));
  draw_line(dc, rect.left, rect.top, rect.left, rect.bottom, kGrid);
  draw_line(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, kGrid);
  SelectGuard font(dc, TkFontPool::instance().get(256));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, is_deleted ? kDeletedText : RGB(0, 0, 0));
  const int columns = static_cast<int>(columns_for(mode()).size());
  const int frame_w = checkbox_.width() / kCheckFrames;
  for (int c = 0; c < columns; ++c) {
    RECT cell = cell_rect(row, c);
    OffsetRect(&cell, rect.left, rect.top - cell.top);
    if (c == 0) {
      int frame = model_.checked(static_cast<size_t>(row)) ? kFrameChecked : kFrameUnchecked;
      int top = cell.top + (cell.bottom - cell.top - checkbox_.height()) / 2;
      checkbox_.draw_part(dc, RECT{cell.left + 5, top, cell.left + 5 + frame_w, top + checkbox_.height()},
                          RECT{frame * frame_w, 0, (frame + 1) * frame_w, checkbox_.height()});
      int text_start = cell.left + frame_w + 10;
      const SkinImage* mark = mode() == ListMode::Files ? &file_ : is_deleted ? &deleted_ : nullptr;
      if (mark) {
        mark->draw(dc, text_start, cell.top + (cell.bottom - cell.top - mark->height()) / 2);
        text_start += (mode() == ListMode::Files ? deleted_.width() : mark->width()) + 5;
      }
      cell.left = text_start;
    } else {
      draw_line(dc, cell.left, cell.top, cell.left, cell.bottom, kGrid);
    }
    std::wstring text = cell_text(row, c);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, kCellFormat);
  }
}

bool CListViewCheck1::on_draw_item(const DRAWITEMSTRUCT& item) {
  const RECT& r = item.rcItem;
  int row = static_cast<int>(item.itemID);
  if (row < 0 || row >= rows() || r.right <= r.left || r.bottom <= r.top) return true;
  MemoryCanvas canvas(r.right - r.left, r.bottom - r.top);
  paint_row(canvas.dc(), row, RECT{0, 0, r.right - r.left, r.bottom - r.top}, (item.itemState & ODS_SELECTED) != 0);
  canvas.copy_to(item.hDC, r.left, r.top);
  return true;
}

bool CListViewCheck1::at_bottom() const {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(hwnd(), SB_VERT, &si)) return true;  // no scroll bar: everything shows
  return si.nPos + static_cast<int>(si.nPage) > si.nMax;
}

bool CListViewCheck1::on_key(WPARAM key) {
  int focused = static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  switch (key) {
    case VK_SPACE:
      if (focused >= 0) click_check(focused);
      return true;
    case VK_END:
      while (load_more_rows()) {
      }
      return false;
    case VK_DOWN:
      if (focused == rows() - 1) load_more_rows();
      return false;
    case VK_NEXT: {
      int per_page = static_cast<int>(SendMessageW(hwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
      if (focused + per_page >= rows() - 1) load_more_rows();
      return false;
    }
    default:
      return false;
  }
}

void CListViewCheck1::update_tip(POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  SendMessageW(hwnd(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  int row = hit.iItem, column = hit.iSubItem;
  if (row == tip_row_ && column == tip_column_) return;
  tip_row_ = row;
  tip_column_ = column;
  tip_text_.clear();
  if (row >= 0 && row < rows()) {
    std::wstring text = cell_text(row, column);
    RECT cell = cell_rect(row, column);
    WindowDC screen(hwnd());
    SelectGuard font(screen.get(), TkFontPool::instance().get(256));
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    int room = cell.right - cell.left - (column == 0 ? checkbox_.width() / kCheckFrames + deleted_.width() + 15 : 0);
    if (size.cx > room) tip_text_ = text;
  }
  SendMessageW(tip_, TTM_POP, 0, 0);
}

LRESULT CListViewCheck1::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      LVHITTESTINFO hit{};
      hit.pt = point;
      int row = static_cast<int>(SendMessageW(hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      RECT check = check_rect(row);
      if (row >= 0 && row < rows() && PtInRect(&check, point)) {
        click_check(row);
        return 0;
      }
      break;
    }
    case WM_MOUSEMOVE:
      update_tip(POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      break;
    case WM_VSCROLL: {
      LRESULT result = default_handling(message, wparam, lparam);
      if (LOWORD(wparam) == SB_ENDSCROLL && at_bottom()) load_more_rows();
      return result;
    }
    case WM_MOUSEWHEEL: {
      bool was_at_bottom = at_bottom();
      LRESULT result = default_handling(message, wparam, lparam);
      if (was_at_bottom && GET_WHEEL_DELTA_WPARAM(wparam) < 0) load_more_rows();
      return result;
    }
    case WM_KEYDOWN:
      if (on_key(wparam)) return 0;
      break;
    case WM_CHAR:
      if (wparam == L' ') return 0;
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->hwndFrom == tip_ && header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
        info->lpszText = const_cast<wchar_t*>(tip_text_.c_str());
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
        return 0;
      }
      break;
    }
    default:
      if (message == WM_HEADER_CHECK_ALL) {
        check_all(wparam != 0);
        return 0;
      }
      break;
  }
  return default_handling(message, wparam, lparam);
}

LRESULT CListViewCheck1::on_notify(NMHDR* header, bool& handled) {
  handled = false;
  if (header->code == LVN_COLUMNCLICK) {
    sort_by(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    handled = true;
  } else if (header->code == LVN_GETDISPINFOW) {
    // Owner-drawn rows have no texts of their own to give.
    handled = true;
  }
  return 0;
}

}  // namespace qf::ui
