// The paint of both pages of the main window.
#include "app/main_dlg_win32.h"

#include "ui/font_pool_win32.h"

namespace qf::app {

namespace {

constexpr COLORREF kAuthorisationColour = RGB(52, 166, 106);
constexpr COLORREF kWarningColour = RGB(189, 58, 6);
constexpr COLORREF kHelpLineColour = RGB(10, 0, 0);

struct TextLine {
  int x;
  int y;
  const wchar_t* text;
};

constexpr TextLine kHelpHeading{80, 540, L"Cannot load data from Android Phone, please : "};
constexpr TextLine kHelpLines[] = {
    {100, 560, L"1. Be sure you've installed the drive of your device"},
    {100, 580, L"2. Make sure device enables USB Debugging(Setting >> Applications >> Development >> USB debugging)."},
    {100, 600, L"3. If you want to recover SMS or contacts, please make sure you've got ROOT access on your Android phone."},
    {100, 620, L"4. If you want to recover the data on the phone's SD card, you should turn on USB storage on the device."},
};
constexpr TextLine kAuthorisationLine{240, 200, L"Authorization on device is required in order to continue."};
constexpr TextLine kAuthorisationHint{260, 230, L"Please check your phone screen and authorize this Mac as shown below."};

void draw_line(HDC dc, const TextLine& line, HFONT font, COLORREF colour) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, colour);
  TextOutW(dc, line.x, line.y, line.text, static_cast<int>(wcslen(line.text)));
  SelectObject(dc, old);
}

}  // namespace

void CMainDlg::paint_body(HDC dc, int, int) {
  SetBkMode(dc, TRANSPARENT);
  if (page_ == MainPage::DataPage) {
    data_background_.draw(dc, 0, 0);
    return;
  }
  connect_background_.draw(dc, 0, 0);
  if (device_state_ != 1) paint_connect_page(dc);
}

void CMainDlg::paint_connect_page(HDC dc) {
  step_strip_.draw(dc, 1, 74);
  if (device_state_ == -1) {
    animation_.draw(dc, kStatusArea);
    if (!animation_.running && animation_.animated()) {
      SetTimer(hwnd(), kAnimationTimer, LoadingAnimation::kDefaultDelayMs, nullptr);
      animation_.running = true;
    }
  } else if (device_state_ == 0) {
    draw_centred(dc, load_fail_, kStatusArea);
  } else if (device_state_ == 2) {
    draw_centred(dc, rsa_tip_, kStatusArea);
    paint_authorisation_lines(dc);
  }
  paint_help_lines(dc);
}

void CMainDlg::paint_authorisation_lines(HDC dc) const {
  draw_line(dc, kAuthorisationLine, authorisation_font_.get(), kAuthorisationColour);
  draw_line(dc, kAuthorisationHint, authorisation_hint_font_.get(), RGB(0, 0, 0));
}

void CMainDlg::paint_help_lines(HDC dc) const {
  ui::TkFontPool& fonts = ui::TkFontPool::instance();
  draw_line(dc, kHelpHeading, fonts.get(512), kWarningColour);
  for (const TextLine& line : kHelpLines) draw_line(dc, line, fonts.get(256), kHelpLineColour);
}

}  // namespace qf::app
