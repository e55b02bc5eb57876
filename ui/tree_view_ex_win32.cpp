#include "ui/tree_view_ex_win32.h"

#include "platform/app_messages.h"
#include "ui/draw_helpers_win32.h"
#include "ui/font_pool_win32.h"
#include "ui/gdi_objects_win32.h"
#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

constexpr wchar_t const* kIconFiles[] = {L"treeroot.png", L"contacts.png", L"message.png", L"disk.png",
                                         L"folder.png"};
constexpr int kFrameUnchecked = 0;
constexpr int kFrameChecked = 3;
constexpr int kFrameDisabled = 4;
constexpr COLORREF kHighlightFrom = RGB(168, 229, 246);
constexpr COLORREF kHighlightTo = RGB(241, 247, 249);
constexpr COLORREF kSelectedText = RGB(0, 0, 200);
constexpr COLORREF kDisabledText = RGB(200, 200, 200);

HTREEITEM next_item(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Drawn as a parent: announced with children when inserted, or given some since.
bool parent_like(HWND tree, const TVITEMW& item) {
  return item.cChildren != 0 || next_item(tree, item.hItem, TVGN_CHILD) != nullptr;
}

RECT item_line(HWND tree, HTREEITEM item) {
  // The request carries the item in the rectangle's first bytes.
  union {
    RECT rect;
    HTREEITEM item;
  } r{};
  r.item = item;
  if (!SendMessageW(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r.rect))) return RECT{};
  return r.rect;
}

int centred(const RECT& line, int height) { return line.top + (line.bottom - line.top - height) / 2; }

}  // namespace

// The tree's items seen by the check propagation.
class CTreeViewEx1::Access final : public CheckTree {
 public:
  explicit Access(CTreeViewEx1& tree) : tree_(tree) {}
  Node parent(Node n) const override { return walk(n, TVGN_PARENT); }
  Node first_child(Node n) const override { return walk(n, TVGN_CHILD); }
  Node next_sibling(Node n) const override { return walk(n, TVGN_NEXT); }
  bool checked(Node n) const override { return tree_.checked(item(n)); }
  bool enabled(Node n) const override {
    TreeItemData* data = tree_.item_data(item(n));
    return data && data->enabled;
  }
  void set_checked(Node n, bool c) override { tree_.set_check(item(n), c); }
  static HTREEITEM item(Node n) { return reinterpret_cast<HTREEITEM>(n); }
  static Node node(HTREEITEM i) { return reinterpret_cast<Node>(i); }

 private:
  Node walk(Node n, UINT relation) const { return node(next_item(tree_.hwnd(), item(n), relation)); }
  CTreeViewEx1& tree_;
};

CTreeViewEx1::CTreeViewEx1()
    : checkboxes_(L"checkboxes.png"), opened_(L"tree_opened.bmp"), closed_(L"tree_closed.bmp") {
  for (size_t i = 0; i < icons_.size(); ++i) icons_[i] = SkinImage(kIconFiles[i]);
}

CTreeViewEx1::~CTreeViewEx1() {
  if (hwnd()) delete_all();
}

bool CTreeViewEx1::create(const ControlCreateArgs& args) {
  ControlCreateArgs a = args;
  a.style |= TVS_SHOWSELALWAYS | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL;
  if (!create_window(WC_TREEVIEWW, a)) return false;
  SendMessageW(hwnd(), TVM_SETITEMHEIGHT, kItemHeight, 0);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(TkFontPool::instance().get(256)), FALSE);
  return true;
}

HTREEITEM CTreeViewEx1::insert_item(HTREEITEM parent, TreeItemKind kind, const std::wstring& label,
                                    bool has_children) {
  auto* data = new TreeItemData;
  data->kind = kind;
  data->icon = &icons_[static_cast<size_t>(kind)];
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<wchar_t*>(label.c_str());
  insert.item.lParam = reinterpret_cast<LPARAM>(data);
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.state = INDEXTOSTATEIMAGEMASK(1);
  insert.item.cChildren = has_children ? 1 : 0;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) delete data;
  return item;
}

TreeItemData* CTreeViewEx1::item_data(HTREEITEM item) const {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!item || !SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<TreeItemData*>(tv.lParam);
}

void CTreeViewEx1::set_item_payload(HTREEITEM item, const std::wstring* label, void* payload) {
  TreeItemData* data = item_data(item);
  if (!data) return;
  data->enabled = 1;
  data->payload = payload;
  if (label) {
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = const_cast<wchar_t*>(label->c_str());
    SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CTreeViewEx1::set_enabled(HTREEITEM item, bool enabled) {
  if (TreeItemData* data = item_data(item)) data->enabled = enabled ? 1 : 0;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

std::wstring CTreeViewEx1::label(HTREEITEM item) const {
  wchar_t text[261] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_HANDLE;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = 261;
  SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

bool CTreeViewEx1::checked(HTREEITEM item) const {
  UINT state = static_cast<UINT>(SendMessageW(hwnd(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                              TVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

void CTreeViewEx1::set_check(HTREEITEM item, bool checked) {
  TVITEMW tv{};
  tv.mask = TVIF_STATE | TVIF_HANDLE;
  tv.hItem = item;
  tv.stateMask = TVIS_STATEIMAGEMASK;
  tv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CTreeViewEx1::notify(const std::vector<CheckChange>& changes) const {
  for (const CheckChange& c : changes)
    SendMessageW(parent(), WM_TREE_ITEM_CHECKED, static_cast<WPARAM>(c.node), c.checked ? 1 : 0);
}

void CTreeViewEx1::set_subtree_check(HTREEITEM item, bool checked) {
  Access access(*this);
  notify(ui::set_subtree_check(access, Access::node(item), checked));
}

void CTreeViewEx1::update_ancestors(HTREEITEM item) {
  Access access(*this);
  notify(ui::update_ancestors(access, Access::node(item)));
}

void CTreeViewEx1::click_check(HTREEITEM item) {
  Access access(*this);
  notify(toggle_check(access, Access::node(item)));
}

void CTreeViewEx1::delete_all() { SendMessageW(hwnd(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

RECT CTreeViewEx1::check_rect(HTREEITEM item) const {
  TreeItemData* data = item_data(item);
  RECT line = item_line(hwnd(), item);
  if (!data || IsRectEmpty(&line)) return RECT{};
  int frame = checkboxes_.width() / kCheckFrames;
  int top = centred(line, checkboxes_.height());
  int left = data->text_left - frame - 5;
  return RECT{left, top, left + frame, top + checkboxes_.height()};
}

RECT CTreeViewEx1::glyph_rect(HTREEITEM item) const {
  RECT check = check_rect(item);
  RECT line = item_line(hwnd(), item);
  int left = check.left - 5 - closed_.width();
  int top = centred(line, closed_.height());
  return RECT{left, top, left + closed_.width(), top + closed_.height()};
}

int CTreeViewEx1::paint_item(HDC dc, HTREEITEM item, const RECT& line, int scroll_width) const {
  TreeItemData* data = item_data(item);
  if (!data) return 0;
  TVITEMW tv{};
  tv.mask = TVIF_STATE | TVIF_CHILDREN | TVIF_HANDLE;
  tv.hItem = item;
  tv.stateMask = TVIS_SELECTED | TVIS_EXPANDED | TVIS_STATEIMAGEMASK;
  SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  const bool is_checked = (tv.state >> 12) == 2;
  const bool highlighted = (tv.state & TVIS_SELECTED) &&
                           (GetFocus() == hwnd() || (GetWindowLongW(hwnd(), GWL_STYLE) & TVS_SHOWSELALWAYS));
  HTREEITEM parent_item = next_item(hwnd(), item, TVGN_PARENT);
  TreeItemData* parent_data = item_data(parent_item);
  int x = parent_data ? parent_data->text_left : line.left + 5;
  const int frame_w = checkboxes_.width() / kCheckFrames;
  const int frame_h = checkboxes_.height();
  auto draw_frame = [&](int frame, int at) {
    RECT src{frame * frame_w, 0, (frame + 1) * frame_w, frame_h};
    RECT dst{at, centred(line, frame_h), at + frame_w, centred(line, frame_h) + frame_h};
    checkboxes_.draw_part(dc, dst, src);
  };
  const int icon_w = data->icon ? data->icon->width() : 0;
  uint16_t font_key = 256;
  int label_height = 15;
  COLORREF colour = RGB(0, 0, 0);
  if (parent_like(hwnd(), tv)) {
    if (parent_data) x -= closed_.width() + 5;
    const SkinImage& glyph = (tv.state & TVIS_EXPANDED) ? opened_ : closed_;
    glyph.draw(dc, x, centred(line, glyph.height()));
    draw_frame(is_checked ? kFrameChecked : kFrameUnchecked, x + glyph.width() + 5);
    data->text_left = x + glyph.width() + frame_w + 10;
    font_key = 260;
    label_height = 16;
  } else {
    if (data->enabled) {
      draw_frame(is_checked ? kFrameChecked : kFrameUnchecked, x);
      if (highlighted) {
        RECT band{x + icon_w + frame_w + 10, line.top, scroll_width, line.bottom};
        gradient_fillrect(dc, band, kHighlightFrom, kHighlightTo, 0);
        colour = kSelectedText;
      }
    } else {
      draw_frame(kFrameDisabled, x);
      colour = kDisabledText;
    }
    data->text_left = x + frame_w + 5;
  }
  if (data->icon) data->icon->draw(dc, data->text_left, centred(line, data->icon->height()));
  std::wstring text = label(item);
  RECT box{data->text_left + icon_w + 5, line.top + (line.bottom - line.top - 15) / 2, line.right,
           line.top + (line.bottom - line.top - 15) / 2 + label_height};
  SelectGuard font(dc, TkFontPool::instance().get(font_key));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  return 1;
}

void CTreeViewEx1::paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  MemoryCanvas canvas(client.right, client.bottom);
  fill_solid(canvas.dc(), client, RGB(255, 255, 255));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_POS;
  int scroll_width = client.right;
  if (GetScrollInfo(hwnd(), SB_HORZ, &si) && si.nMax > client.right) scroll_width = si.nMax - si.nPos;
  // Children start from their parent's text edge; a parent scrolled out of
  // view keeps the edge of its last paint.
  for (HTREEITEM item = next_item(hwnd(), nullptr, TVGN_FIRSTVISIBLE); item;
       item = next_item(hwnd(), item, TVGN_NEXTVISIBLE)) {
    RECT line = item_line(hwnd(), item);
    if (line.top >= client.bottom) break;
    paint_item(canvas.dc(), item, line, scroll_width);
  }
  canvas.copy_to(target);
}

bool CTreeViewEx1::on_left_button(POINT point) {
  TVHITTESTINFO hit{};
  hit.pt = point;
  SendMessageW(hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (!hit.hItem) return false;
  TreeItemData* data = item_data(hit.hItem);
  if (data && !data->enabled) return true;  // swallowed
  RECT check = check_rect(hit.hItem);
  if (PtInRect(&check, point)) {
    click_check(hit.hItem);
    return true;
  }
  TVITEMW tv{};
  tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
  tv.hItem = hit.hItem;
  SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  RECT glyph = glyph_rect(hit.hItem);
  if (parent_like(hwnd(), tv) && PtInRect(&glyph, point)) {
    SendMessageW(hwnd(), TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(hit.hItem));
    return true;
  }
  SetFocus(hwnd());
  SendMessageW(hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
  return true;
}

LRESULT CTreeViewEx1::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (answer_paint(message, wparam, [this](HDC dc) { paint(dc); })) return message == WM_ERASEBKGND;
  switch (message) {
    case WM_LBUTTONDBLCLK:
      return 0;
    case WM_LBUTTONDOWN:
      if (on_left_button(POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))})) return 0;
      break;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE) {
        HTREEITEM item = next_item(hwnd(), nullptr, TVGN_CARET);
        if (item) click_check(item);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wparam == L' ') return 0;  // not an incremental search
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd(), nullptr, FALSE);
      break;
    default:
      break;
  }
  return default_handling(message, wparam, lparam);
}

LRESULT CTreeViewEx1::on_notify(NMHDR* header, bool& handled) {
  handled = false;
  if (header->code == TVN_DELETEITEMW) {
    auto* view = reinterpret_cast<NMTREEVIEWW*>(header);
    delete reinterpret_cast<TreeItemData*>(view->itemOld.lParam);
  }
  return 0;
}

}  // namespace qf::ui
