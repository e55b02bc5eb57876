#include "ui/hyperlink_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>

#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

std::wstring_view trim(std::wstring_view text) {
  while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<int> parse_channel(std::wstring_view text) {
  text = trim(text);
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (value > 255) return std::nullopt;
  return value;
}

std::optional<COLORREF> read_colour_value(const wchar_t* name) {
  wchar_t text[64] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return CMyHyperLink::parse_colour(text);
}

SIZE text_size(HDC dc, HFONT font, const std::wstring& text) {
  SIZE size{0, 0};
  SelectGuard select(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  size.cy = metrics.tmHeight;
  return size;
}

}  // namespace

CMyHyperLink::~CMyHyperLink() {
  if (tooltip_) DestroyWindow(tooltip_);
  release_fonts();
}

void CMyHyperLink::release_fonts() {
  if (own_normal_) DeleteObject(own_normal_);
  if (own_underlined_) DeleteObject(own_underlined_);
  own_normal_ = own_underlined_ = nullptr;
}

std::optional<COLORREF> CMyHyperLink::parse_colour(std::wstring_view text) {
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    size_t comma = text.find(L',');
    if ((i < 2) == (comma == std::wstring_view::npos)) return std::nullopt;
    auto value = parse_channel(text.substr(0, comma));
    if (!value) return std::nullopt;
    channels[i] = *value;
    text = i < 2 ? text.substr(comma + 1) : std::wstring_view();
  }
  return RGB(channels[0], channels[1], channels[2]);
}

CMyHyperLink::Pieces CMyHyperLink::split_label(const std::wstring& label) {
  size_t open = label.find(L"<A>");
  size_t close = open == std::wstring::npos ? open : label.find(L"</A>", open + 3);
  if (close == std::wstring::npos) return Pieces{L"", label, L""};
  return Pieces{label.substr(0, open), label.substr(open + 3, close - open - 3), label.substr(close + 4)};
}

void CMyHyperLink::read_browser_colours() {
  link_colour_ = read_colour_value(L"Anchor Color").value_or(kDefaultLink);
  visited_colour_ = read_colour_value(L"Anchor Color Visited").value_or(kDefaultVisited);
}

bool CMyHyperLink::attach(HWND control, std::wstring label, std::wstring target) {
  if (!control) return false;
  take_over(control);
  SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | SS_NOTIFY);
  pieces_ = split_label(label);
  target_ = std::move(target);
  SetWindowTextW(hwnd(), (pieces_.before + pieces_.link + pieces_.after).c_str());
  read_browser_colours();
  if (!normal_ && !own_normal_) {
    LOGFONTW icon_title{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(icon_title), &icon_title, 0);
    own_normal_ = CreateFontIndirectW(&icon_title);
  }
  set_font(normal_font());
  make_tooltip();
  repaint_over_parent();
  return true;
}

HFONT CMyHyperLink::normal_font() const { return normal_ ? normal_ : own_normal_; }

void CMyHyperLink::set_font(HFONT normal) {
  if (normal) normal_ = normal;
  if (own_underlined_) DeleteObject(own_underlined_);
  own_underlined_ = nullptr;
  LOGFONTW description{};
  if (normal_font() && GetObjectW(normal_font(), sizeof(description), &description)) {
    description.lfUnderline = TRUE;
    own_underlined_ = CreateFontIndirectW(&description);
  }
  repaint_over_parent();
}

void CMyHyperLink::set_link_font(HFONT link) {
  link_ = link;
  repaint_over_parent();
}

SIZE CMyHyperLink::label_size() const {
  RECT link = link_rect();
  if (!hwnd()) return SIZE{0, 0};
  HDC dc = GetDC(hwnd());
  SIZE after = text_size(dc, normal_font(), pieces_.after);
  ReleaseDC(hwnd(), dc);
  return SIZE{link.right + after.cx, std::max<LONG>(link.bottom, after.cy)};
}

RECT CMyHyperLink::link_rect() const {
  if (!hwnd()) return RECT{};
  HDC dc = GetDC(hwnd());
  SIZE before = text_size(dc, normal_font(), pieces_.before);
  SIZE link = text_size(dc, link_ ? link_ : own_underlined_, pieces_.link);
  ReleaseDC(hwnd(), dc);
  if (pieces_.before.empty()) before.cx = 0;
  return RECT{before.cx, 0, before.cx + link.cx, std::max(before.cy, link.cy)};
}

void CMyHyperLink::paint(HDC dc) const {
  bool enabled = IsWindowEnabled(hwnd()) != FALSE;
  COLORREF normal = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  COLORREF link = enabled ? (visited_ ? visited_colour_ : link_colour_) : normal;
  SetBkMode(dc, TRANSPARENT);
  int x = 0;
  auto draw = [&](HFONT font, COLORREF colour, const std::wstring& text) {
    if (text.empty()) return;
    SelectGuard select(dc, font);
    SetTextColor(dc, colour);
    TextOutW(dc, x, 0, text.c_str(), static_cast<int>(text.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    x += size.cx;
  };
  draw(normal_font(), normal, pieces_.before);
  draw(link_ ? link_ : own_underlined_, link, pieces_.link);
  draw(normal_font(), normal, pieces_.after);
}

void CMyHyperLink::make_tooltip() {
  if (tooltip_) DestroyWindow(tooltip_);
  HWND parent = GetParent(hwnd());
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, nullptr, nullptr);
  if (!tooltip_) return;
  TOOLINFOW tool{};
  // The version-2 size works with every common-controls version.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = const_cast<wchar_t*>(target_.c_str());
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CMyHyperLink::repaint_over_parent() const {
  if (!hwnd()) return;
  // The text is transparent: the parent repaints what lies under it first.
  RECT r{};
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  InvalidateRect(GetParent(hwnd()), &r, TRUE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void CMyHyperLink::open_target() {
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(GetParent(hwnd()), L"open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) {
    visited_ = true;
    repaint_over_parent();
  }
}

LRESULT CMyHyperLink::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(window, &p);
      RECT link = link_rect();
      if (IsWindowEnabled(window) && PtInRect(&link, p)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return default_handling(message, wparam, lparam);
    }
    case WM_LBUTTONUP: {
      POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      RECT link = link_rect();
      if (PtInRect(&link, p)) open_target();
      return 0;
    }
    case WM_ENABLE:
      repaint_over_parent();
      return default_handling(message, wparam, lparam);
    default:
      return default_handling(message, wparam, lparam);
  }
}

}  // namespace qf::ui
