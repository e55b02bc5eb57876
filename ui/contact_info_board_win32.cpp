#include "ui/contact_info_board_win32.h"

#include "platform/app_messages.h"
#include "platform/utf_win32.h"
#include "ui/font_pool_win32.h"
#include "ui/gdi_objects_win32.h"
#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

constexpr COLORREF kBackground = RGB(240, 245, 255);
constexpr COLORREF kEdge = RGB(200, 200, 200);
constexpr COLORREF kLabel = RGB(150, 150, 150);
constexpr COLORREF kValue = RGB(50, 50, 50);
constexpr int kLabelLeft = 20;
constexpr int kValueLeft = 80;

}  // namespace

CContactInfoBoard::CContactInfoBoard() : picture_(L"contactperson.png") {}

bool CContactInfoBoard::create(const ControlCreateArgs& args) { return CScrollPane::create(args, true); }

int CContactInfoBoard::value_width() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  return client.right - 10 - kValueLeft;
}

void CContactInfoBoard::show_contact(const ContactRecord* contact) {
  contact_ = contact;
  scroll_to_position(0);
  lay_out();
  UpdateWindow(hwnd());
}

void CContactInfoBoard::lay_out() {
  OwnedMemoryDC dc;
  SelectGuard font(dc.get(), TkFontPool::instance().get(256));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  line_height_ = metrics.tmHeight > 0 ? metrics.tmHeight : 14;
  auto width_of = [&](std::string_view text) {
    std::wstring wide = widen(std::string(text));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  };
  std::array<int, kCardRows> counts{};
  for (int i = 0; i < kCardRows; ++i) {
    lines_[static_cast<size_t>(i)] =
        contact_ ? break_lines(card_value(*contact_, i), value_width(), width_of) : std::vector<std::string>{};
    counts[static_cast<size_t>(i)] = static_cast<int>(lines_[static_cast<size_t>(i)].size());
  }
  rows_ = layout_card(counts, line_height_, &card_height_);
  content_changed();
}

void CContactInfoBoard::paint_content(HDC dc, int top, int width, int height) {
  fill_solid(dc, RECT{0, 0, width, height}, kBackground);
  draw_line(dc, 0, 0, 0, height, kEdge);
  if (!contact_) return;
  picture_.draw_scaled(dc, RECT{20, 20 - top, 82, 82 - top});
  SelectGuard font(dc, TkFontPool::instance().get(256));
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const CardRow& row = rows_[i];
    RECT label{kLabelLeft, row.top - top, kValueLeft, row.label_bottom - top};
    SetTextColor(dc, kLabel);
    DrawTextW(dc, row.label, -1, &label, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(dc, kValue);
    RECT box{kValueLeft, row.top - top, width - 10, row.value_bottom - top};
    int y = box.top;
    for (const std::string& line : lines_[i]) {
      std::wstring text = widen(line);
      RECT line_box{box.left, y, box.right, std::min<LONG>(y + line_height_, box.bottom)};
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line_box,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
      y += line_height_;
    }
  }
}

LRESULT CContactInfoBoard::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SHOW_CONTACT) {
    show_contact(reinterpret_cast<const ContactRecord*>(lparam));
    return 0;
  }
  LRESULT result = CScrollPane::on_message(message, wparam, lparam);
  if (message == WM_SIZE && contact_) lay_out();
  return result;
}

}  // namespace qf::ui
