#include "ui/about_box_win32.h"

#include <string>

#include "ui/font_pool_win32.h"
#include "ui/memory_canvas_win32.h"
#include "ui/skin_folder_win32.h"
#include "ui/ui_resource.h"

namespace qf::ui {
namespace {

constexpr wchar_t kClosingLine[] = L"Free to use. Thank you for choosing Tarnwick.";

void text_at(HDC dc, int x, int y, COLORREF colour, uint16_t font_key, const std::wstring& text) {
  SelectGuard font(dc, TkFontPool::instance().get(font_key));
  SetTextColor(dc, colour);
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

CAboutBox::CAboutBox() : background_(L"aboutbk.png") {}

int CAboutBox::show(HWND owner) { return static_cast<int>(run_modal(IDD_ABOUTBOX, owner)); }

BOOL CAboutBox::on_init() {
  SetWindowTextW(hwnd(), kTitle);
  size_to_background(background_.width(), background_.height());
  close_.attach(GetDlgItem(hwnd(), IDC_ABOUT_CLOSE), skin_path(L"close.png"), -8, 5, 4);
  ok_.attach(GetDlgItem(hwnd(), IDC_ABOUT_OK), skin_path(L"ok.png"), -20, -15, 4);
  add_image_button(&close_);
  add_image_button(&ok_);

  HWND link = GetDlgItem(hwnd(), IDC_ABOUT_LINK);
  link_font_.reset(get_font(L"Arial", 16, 400));
  homepage_.attach(link, std::wstring(L"Homepage: <A>") + kHomePage + L"</A>", kHomePage);
  homepage_.set_font(link_font_.get());
  homepage_.set_link_font(link_font_.get());
  SIZE size = homepage_.label_size();
  SetWindowPos(link, nullptr, 40, 270, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  SetFocus(hwnd());
  return FALSE;
}

void CAboutBox::paint_body(HDC dc, int width, int height) {
  background_.draw_scaled(dc, RECT{0, 0, width, height});
  SetBkMode(dc, TRANSPARENT);
  text_at(dc, 38, 7, RGB(255, 255, 255), 0, kTitle);
  text_at(dc, 40, 135, RGB(0, 0, 90), 512, std::wstring(L"Version: ") + kVersion);
  text_at(dc, 40, 310, RGB(0, 0, 0), 256, kClosingLine);
}

bool CAboutBox::on_command(int id, int code) {
  if (code != BN_CLICKED || (id != IDC_ABOUT_CLOSE && id != IDC_ABOUT_OK)) return false;
  end(id);
  return true;
}

INT_PTR CAboutBox::on_message(UINT message, WPARAM, LPARAM, bool& handled) {
  // A system close request ends the box like its close button.
  handled = message == WM_CLOSE;
  if (handled) end(IDC_ABOUT_CLOSE);
  return 0;
}

}  // namespace qf::ui
