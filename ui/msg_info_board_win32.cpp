#include "ui/msg_info_board_win32.h"

#include <string>
#include <vector>

#include "platform/app_messages.h"
#include "platform/utf_win32.h"
#include "ui/font_pool_win32.h"
#include "ui/gdi_objects_win32.h"
#include "ui/memory_canvas_win32.h"

namespace qf::ui {
namespace {

constexpr COLORREF kBackground = RGB(244, 247, 250);
constexpr COLORREF kEdge = RGB(200, 200, 200);
constexpr COLORREF kReceivedFill = RGB(216, 216, 216);
constexpr COLORREF kSentFill = RGB(136, 193, 33);
constexpr COLORREF kSentFillAlt = RGB(152, 200, 253);

// Widths of the left and right pieces, heights of the top and bottom ones.
struct FrameSizes {
  int left, right, top, bottom;
};
constexpr FrameSizes kReceivedFrame{18, 12, 15, 18};
constexpr FrameSizes kSentFrame{12, 18, 18, 18};

void piece(HDC dc, const SkinImage& image, int x, int y, int w, int h, bool slice_across) {
  if (w <= 0 || h <= 0) return;
  // Edges stretch a one-pixel slice of their picture.
  RECT source = slice_across ? RECT{0, 0, 1, h} : RECT{0, 0, w, 1};
  if (image.width() == w && image.height() == h) source = RECT{0, 0, w, h};
  image.draw_part(dc, RECT{x, y, x + w, y + h}, source);
}

void frame(HDC dc, const BubbleRect& b, const FrameSizes& s, const CMsgInfoItem::Pieces& p, COLORREF fill) {
  const int l = b.left, t = b.top, r = b.right, bt = b.bottom;
  p[0].draw(dc, l, t);
  p[1].draw(dc, l, bt - s.bottom);
  p[2].draw(dc, r - s.right, t);
  p[3].draw(dc, r - s.right, bt - s.bottom);
  const int across = r - l - s.left - s.right;
  const int down = bt - t - s.top - s.bottom;
  piece(dc, p[4], l + s.left, t, across, s.top, true);
  piece(dc, p[5], l + s.left, bt - s.bottom, across, s.bottom, true);
  piece(dc, p[6], l, t + s.top, s.left, down, false);
  piece(dc, p[7], r - s.right, t + s.top, s.right, down, false);
  fill_solid(dc, RECT{l + s.left, t + s.top, r - s.right, bt - s.bottom}, fill);
}

// Measures message bodies in the selected font. Tens of thousands are
// measured when a conversation opens, so plain ASCII bodies (most text
// messages) add up the characters' advance widths, which is what the system
// does for such text; any other body is measured by the system.
class BodyMeasure {
 public:
  explicit BodyMeasure(HDC dc) : dc_(dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    line_height_ = metrics.tmHeight;
    ascii_ok_ = GetCharWidth32W(dc_, 32, 126, widths_) != FALSE;
  }
  TextExtent operator()(const std::string& body) {
    if (ascii_ok_) {
      int width = 0;
      bool ascii = true;
      for (char c : body) {
        if (c < 32 || c > 126) {
          ascii = false;
          break;
        }
        width += widths_[c - 32];
      }
      if (ascii) return {width, line_height_};
    }
    buffer_.resize(body.size() + 1);
    int n = MultiByteToWideChar(CP_UTF8, 0, body.data(), static_cast<int>(body.size()), buffer_.data(),
                                static_cast<int>(buffer_.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc_, buffer_.data(), n, &size);
    return {size.cx, size.cy};
  }

 private:
  HDC dc_;
  int line_height_ = 0;
  bool ascii_ok_ = false;
  INT widths_[126 - 32 + 1] = {};
  std::vector<wchar_t> buffer_;
};

}  // namespace

CMsgInfoItem::Pieces CMsgInfoItem::load_pieces(const wchar_t* prefix) {
  static const wchar_t* const kNames[] = {L"lefttop", L"leftbottom", L"righttop", L"rightbottom",
                                          L"topline", L"bottomline", L"leftline", L"rightline"};
  Pieces pieces;
  for (size_t i = 0; i < pieces.size(); ++i)
    pieces[i] = SkinImage(std::wstring(prefix) + kNames[i] + L".bmp");
  return pieces;
}

void CMsgInfoItem::paint(HDC dc, const BubbleLayout& bubble, const MessageRecord& message, int x, int y,
                         const Pieces& pieces, bool colour_flag) {
  POINT old{};
  SetViewportOrgEx(dc, x, y, &old);
  fill_solid(dc, RECT{0, 0, kBubbleItemWidth, bubble.height}, kBackground);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  SelectGuard font(dc, TkFontPool::instance().get(256));
  std::wstring header = widen(message.date_text);
  RECT band{0, 0, kBubbleItemWidth, kBubbleHeaderHeight};
  DrawTextW(dc, header.c_str(), static_cast<int>(header.size()), &band,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (!message.body.empty()) {
    const bool received = bubble.direction == BubbleDirection::Received;
    const FrameSizes& sizes = received ? kReceivedFrame : kSentFrame;
    frame(dc, bubble.bubble, sizes, pieces,
          received ? kReceivedFill : (colour_flag ? kSentFillAlt : kSentFill));
    RECT inner{bubble.bubble.left + sizes.left, bubble.bubble.top + sizes.top, bubble.bubble.right - sizes.right,
               bubble.bubble.bottom - sizes.bottom};
    std::wstring body = widen(message.body);
    DrawTextW(dc, body.c_str(), static_cast<int>(body.size()), &inner,
              DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  }
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

CMsgInfoBoard::CMsgInfoBoard() : in_(CMsgInfoItem::load_pieces(L"in_")), out_(CMsgInfoItem::load_pieces(L"out_")) {}

bool CMsgInfoBoard::create(const ControlCreateArgs& args) { return CScrollPane::create(args, true); }

void CMsgInfoBoard::show_conversation(const ConversationRecord* conversation) {
  conversation_ = conversation;
  OwnedMemoryDC dc;
  SelectGuard font(dc.get(), TkFontPool::instance().get(512));
  BodyMeasure measure(dc.get());
  layout_.build(conversation, [&](const std::string& body) { return measure(body); });
  scroll_to_position(0);
  content_changed();
}

int CMsgInfoBoard::content_height() const { return layout_.content_height(); }

void CMsgInfoBoard::paint_content(HDC dc, int top, int width, int height) {
  fill_solid(dc, RECT{0, 0, width, height}, kBackground);
  draw_line(dc, 0, 0, 0, height, kEdge);
  last_painted_ = 0;
  if (!conversation_) return;
  auto [first, last] = layout_.visible(top, height);
  for (size_t i = first; i < last; ++i) {
    const BubbleLayout& b = layout_.bubbles()[i];
    const MessageRecord& m = conversation_->messages[b.message];
    CMsgInfoItem::paint(dc, b, m, kBubbleItemX, b.top - top,
                        b.direction == BubbleDirection::Received ? in_ : out_);
  }
  last_painted_ = last - first;
}

LRESULT CMsgInfoBoard::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SHOW_CONVERSATION) {
    show_conversation(reinterpret_cast<const ConversationRecord*>(lparam));
    return 0;
  }
  return CScrollPane::on_message(message, wparam, lparam);
}

}  // namespace qf::ui
