#include "ui/msg_box_win32.h"

#include <algorithm>
#include <vector>

#include "ui/memory_canvas_win32.h"
#include "ui/skin_folder_win32.h"
#include "ui/ui_resource.h"

namespace qf::ui {
namespace {

constexpr int kIconSize = 40;
constexpr int kIconLeft = 20;
constexpr int kTextLeft = 70;
constexpr int kTextRightMargin = 10;
constexpr int kButtonBottomMargin = 15;
constexpr int kButtonGap = 40;  // two buttons sit 20 px either side of the centre
constexpr int kTitleBand = 30;

const wchar_t* icon_picture(MsgBoxIcon icon) {
  switch (icon) {
    case MsgBoxIcon::Warning: return L"warn.png";
    case MsgBoxIcon::Error: return L"error.png";
    case MsgBoxIcon::Info: return L"info.png";
    case MsgBoxIcon::Success: return L"right.png";
  }
  return nullptr;
}

}  // namespace

CMsgBox::CMsgBox() : background_(L"msgbox.png") {}

int CMsgBox::show(MsgBoxIcon icon, unsigned buttons, std::wstring text, HWND owner) {
  icon_kind_ = icon;
  flags_ = buttons;
  text_ = std::move(text);
  return static_cast<int>(run_modal(IDD_MSGBOX, owner ? owner : GetActiveWindow()));
}

BOOL CMsgBox::on_init() {
  const wchar_t* picture = icon_picture(icon_kind_);
  if (picture) icon_.load(skin_path(picture));
  title_font_.reset(get_font(L"Arial", 14, 400));
  text_font_.reset(get_font(L"Arial", 16, 400));
  SetWindowTextW(hwnd(), kTitle);

  size_to_background(background_.width(), background_.height());
  close_.attach(GetDlgItem(hwnd(), IDC_MSGBOX_CLOSE), skin_path(L"close.png"), -5, 5, 4);
  add_image_button(&close_);
  for (ButtonSlot& slot : slots_) {
    HWND control = GetDlgItem(hwnd(), slot.id);
    if (flags_ & slot.flag) {
      slot.button.attach(control, skin_path(slot.picture), -15, -25, 4);
      add_image_button(&slot.button);
    } else {
      ShowWindow(control, SW_HIDE);
    }
  }
  layout_buttons();
  // No control takes the focus, so no key can press a button by accident.
  SetFocus(hwnd());
  return FALSE;
}

void CMsgBox::layout_buttons() {
  std::vector<CImgButton*> row;
  for (ButtonSlot& slot : slots_) {
    if (flags_ & slot.flag) row.push_back(&slot.button);
  }
  if (row.empty()) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  int centre = client.right / 2;
  auto y_of = [&](const CImgButton* b) { return client.bottom - b->frame_height() - kButtonBottomMargin; };
  if (row.size() == 1) {
    row[0]->move_to(centre - row[0]->frame_width() / 2, y_of(row[0]));
  } else if (row.size() == 2) {
    row[0]->move_to(centre - row[0]->frame_width() - kButtonGap / 2, y_of(row[0]));
    row[1]->move_to(centre + kButtonGap / 2, y_of(row[1]));
  } else {
    // More than two: one row centred as a whole, with the same gaps.
    int total = kButtonGap * static_cast<int>(row.size() - 1);
    for (const CImgButton* b : row) total += b->frame_width();
    int x = centre - total / 2;
    for (CImgButton* b : row) {
      b->move_to(x, y_of(b));
      x += b->frame_width() + kButtonGap;
    }
  }
}

void CMsgBox::paint_body(HDC dc, int width, int height) {
  background_.draw(dc, 0, 0);
  int icon_top = (height - kIconSize) / 2;
  icon_.draw_scaled(dc, RECT{kIconLeft, icon_top, kIconLeft + kIconSize, icon_top + kIconSize});
  SetBkMode(dc, TRANSPARENT);
  {
    SelectGuard font(dc, title_font_.get());
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, 40, 7, kTitle, static_cast<int>(wcslen(kTitle)));
  }
  draw_text(dc, width, height);
}

void CMsgBox::draw_text(HDC dc, int width, int height) const {
  if (text_.empty()) return;
  SelectGuard font(dc, text_font_.get());
  SetTextColor(dc, RGB(0, 0, 0));
  const int length = static_cast<int>(text_.size());
  const int box_width = width - kTextLeft - kTextRightMargin;
  SIZE line{};
  GetTextExtentPoint32W(dc, text_.c_str(), length, &line);
  if (line.cx < box_width) {
    RECT box{kTextLeft, (height - line.cy) / 2, width - kTextRightMargin, (height + line.cy) / 2 + 1};
    DrawTextW(dc, text_.c_str(), length, &box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  // Word-wrapped block, centred vertically. The block is as tall as the
  // wrapped text really is (at least one line per box width of text), so
  // no line is cut off when word breaks need an extra line.
  RECT measure{0, 0, box_width, 0};
  DrawTextW(dc, text_.c_str(), length, &measure, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  int lines_estimate = (line.cx / std::max(box_width, 1)) + 1;
  int block = std::max<int>(measure.bottom, lines_estimate * line.cy);
  int top = std::max(kTitleBand, (height - block) / 2);
  RECT box{kTextLeft, top, width - kTextRightMargin, top + block};
  DrawTextW(dc, text_.c_str(), length, &box, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

bool CMsgBox::on_command(int id, int code) {
  if (code != BN_CLICKED) return false;
  if (id == MsgBoxResult::Close || id == MsgBoxResult::Ok || id == MsgBoxResult::Yes ||
      id == MsgBoxResult::No || id == MsgBoxResult::Cancel) {
    end(id);
    return true;
  }
  return false;
}

INT_PTR CMsgBox::on_message(UINT message, WPARAM, LPARAM, bool& handled) {
  // A system close request counts as the title-bar close button.
  handled = message == WM_CLOSE;
  if (handled) end(MsgBoxResult::Close);
  return 0;
}

}  // namespace qf::ui
