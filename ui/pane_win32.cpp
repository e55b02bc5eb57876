#include "ui/pane_win32.h"

#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

const wchar_t* pane_class() {
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"QfPreviewPane";
    return RegisterClassW(&wc);
  }();
  (void)atom;
  return L"QfPreviewPane";
}

}  // namespace

bool CScrollPane::create(const ControlCreateArgs& args, bool scrolls) {
  scrolls_ = scrolls;
  ControlCreateArgs a = args;
  if (scrolls) a.style |= WS_VSCROLL;
  if (!create_window(pane_class(), a)) return false;
  content_changed();
  return true;
}

ScrollSpan CScrollPane::span() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  return ScrollSpan{content_height(), client.bottom, line_step()};
}

void CScrollPane::content_changed() {
  ScrollSpan s = span();
  position_ = clamp_position(s, position_);
  if (scrolls_) {
    SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = s.content > 0 ? s.content - 1 : 0;
    si.nPage = static_cast<UINT>(s.view);
    si.nPos = position_;
    SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CScrollPane::scroll_to_position(int position) {
  int now = clamp_position(span(), position);
  if (now == position_) return;
  position_ = now;
  if (scrolls_) SetScrollPos(hwnd(), SB_VERT, position_, TRUE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CScrollPane::on_scroll(WPARAM wparam) {
  ScrollRequest request;
  switch (LOWORD(wparam)) {
    case SB_LINEUP: request = ScrollRequest::LineUp; break;
    case SB_LINEDOWN: request = ScrollRequest::LineDown; break;
    case SB_PAGEUP: request = ScrollRequest::PageUp; break;
    case SB_PAGEDOWN: request = ScrollRequest::PageDown; break;
    case SB_TOP: request = ScrollRequest::Top; break;
    case SB_BOTTOM: request = ScrollRequest::Bottom; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position: the message's word would cut tall content.
      SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd(), SB_VERT, &si);
      scroll_to_position(scroll_to(span(), position_, ScrollRequest::Thumb, si.nTrackPos));
      return;
    }
    default: return;
  }
  scroll_to_position(scroll_to(span(), position_, request));
}

void CScrollPane::paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  MemoryCanvas canvas(client.right, client.bottom);
  paint_content(canvas.dc(), position_, client.right, client.bottom);
  canvas.copy_to(dc);
}

LRESULT CScrollPane::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (answer_paint(message, wparam, [this](HDC dc) { paint(dc); })) return message == WM_ERASEBKGND;
  switch (message) {
    case WM_SIZE:
      content_changed();
      break;
    case WM_VSCROLL:
      on_scroll(wparam);
      return 0;
    case WM_MOUSEWHEEL:
      scroll_to_position(scroll_by_wheel(span(), position_, GET_WHEEL_DELTA_WPARAM(wparam), wheel_step()));
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd());  // so that the wheel reaches the pane
      return 0;
    default:
      break;
  }
  return default_handling(message, wparam, lparam);
}

}  // namespace qf::ui
