#pragma once
// CMsgInfoBoard: the conversation pane. One window for the whole
// conversation, however long: the bubbles are laid out once per
// conversation as rectangles (ConversationLayout) and only those in view
// are painted, by CMsgInfoItem. The scroll range is the content's height.
//
// WM_SHOW_CONVERSATION (lParam: the ConversationRecord, or 0) shows it, as
// show_conversation() does. The pane holds a reference: the owner keeps the
// record alive while it is shown, and shows 0 before freeing it.
#include <windows.h>

#include <array>

#include "records/conversation_record.h"
#include "ui/bubble_layout.h"
#include "ui/pane_win32.h"
#include "ui/skin_image_win32.h"

namespace qf::ui {

// Paints one message bubble: the date band, the frame pieces, the fill and
// the body. The 8 pieces of each direction are loaded once by the board.
class CMsgInfoItem {
 public:
  using Pieces = std::array<SkinImage, 8>;  // lefttop, leftbottom, righttop, rightbottom, top, bottom, left, right
  static Pieces load_pieces(const wchar_t* prefix);
  // The item of `bubble` with its top-left corner at (x, y).
  static void paint(HDC dc, const BubbleLayout& bubble, const MessageRecord& message, int x, int y,
                    const Pieces& pieces, bool colour_flag = false);
};

class CMsgInfoBoard : public CScrollPane {
 public:
  static constexpr int kLineStep = 10;
  static constexpr int kWheelStep = 50;

  CMsgInfoBoard();
  bool create(const ControlCreateArgs& args);
  void show_conversation(const ConversationRecord* conversation);
  const ConversationLayout& layout() const { return layout_; }
  // Bubbles painted by the last paint (the visible range).
  size_t last_painted() const { return last_painted_; }

 protected:
  void paint_content(HDC dc, int top, int width, int height) override;
  int content_height() const override;
  int line_step() const override { return kLineStep; }
  int wheel_step() const override { return kWheelStep; }
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  const ConversationRecord* conversation_ = nullptr;
  ConversationLayout layout_;
  CMsgInfoItem::Pieces in_, out_;
  size_t last_painted_ = 0;
};

}  // namespace qf::ui
