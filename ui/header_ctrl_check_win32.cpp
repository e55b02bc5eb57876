#include "ui/header_ctrl_check_win32.h"

#include <commctrl.h>

#include "platform/app_messages.h"
#include "ui/font_pool_win32.h"
#include "ui/gdi_objects_win32.h"
#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

constexpr COLORREF kSeparator = RGB(210, 210, 210);

}  // namespace

CHeaderCtrlCheck::CHeaderCtrlCheck() : background_(L"list_hearder.bmp"), inc_(L"inc.png"), dec_(L"dec.png") {}

void CHeaderCtrlCheck::take_over(HWND header) {
  attach(header);
  if (!header) return;
  SetWindowLongW(header, GWL_STYLE, GetWindowLongW(header, GWL_STYLE) & ~HDS_DRAGDROP);
  box_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, 5, 7, 13, 14, header,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBoxId)), GetModuleHandleW(nullptr), nullptr);
}

bool CHeaderCtrlCheck::box_checked() const {
  return box_ && SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CHeaderCtrlCheck::set_box_checked(bool checked) {
  if (box_) SendMessageW(box_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CHeaderCtrlCheck::set_sort(int column, bool ascending) {
  sort_column_ = column;
  ascending_ = ascending;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CHeaderCtrlCheck::paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  MemoryCanvas canvas(client.right, client.bottom);
  HDC dc = canvas.dc();
  fill_solid(dc, client, RGB(240, 240, 240));
  background_.draw_part(dc, client, RECT{2, 0, 3, background_.height()});
  SelectGuard font(dc, TkFontPool::instance().get(256));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  draw_line(dc, 0, 1, 0, client.bottom, kSeparator);
  int count = static_cast<int>(SendMessageW(hwnd(), HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT cell{};
    SendMessageW(hwnd(), HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&cell));
    if (i > 0) draw_line(dc, cell.left, 1, cell.left, client.bottom, kSeparator);
    wchar_t title[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = 64;
    SendMessageW(hwnd(), HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    DrawTextW(dc, title, -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (i == sort_column_) {
      const SkinImage& arrow = ascending_ ? inc_ : dec_;
      arrow.draw(dc, cell.right - 20, cell.top + (cell.bottom - cell.top - arrow.height()) / 2);
    }
  }
  canvas.copy_to(target);
}

LRESULT CHeaderCtrlCheck::on_notify(NMHDR* header, bool& handled) {
  // Dragging or double-clicking a divider would change a column's width.
  handled = header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA ||
            header->code == HDN_DIVIDERDBLCLICKW || header->code == HDN_DIVIDERDBLCLICKA;
  return handled ? TRUE : 0;
}

LRESULT CHeaderCtrlCheck::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (answer_paint(message, wparam, [this](HDC dc) { paint(dc); })) return message == WM_ERASEBKGND;
  switch (message) {
    case HDM_LAYOUT: {
      LRESULT result = default_handling(message, wparam, lparam);
      auto* layout = reinterpret_cast<HDLAYOUT*>(lparam);
      layout->pwpos->cy = kHeight;
      layout->prc->top = layout->pwpos->y + kHeight;
      return result;
    }
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));  // no divider cursor: widths are fixed
      return TRUE;
    case WM_LBUTTONDBLCLK:
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kBoxId && HIWORD(wparam) == BN_CLICKED) {
        bool now = !box_checked();
        set_box_checked(now);
        SendMessageW(GetParent(hwnd()), WM_HEADER_CHECK_ALL, now ? 1 : 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return default_handling(message, wparam, lparam);
}

}  // namespace qf::ui
