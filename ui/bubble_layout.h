#pragma once
// Where the conversation pane puts each message bubble. The pane is one
// window: the layout is computed once per conversation as plain rectangles,
// and painting asks only for the bubbles inside the visible band.
//
// Per message (pixels; W x H the body measured on one line with font key 512):
//   text box   B = min(W, 160); text height T = ceil(W / 160) x H (H when W <= 160)
//   received   bubble (0, 30) - (B + 30, T + 71), item height T + 71
//   sent       bubble (215 - B - 31, 30) - (215, T + 74), item height T + 74
//   item       x 10, width 215; first top 30, each next below the last
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "records/conversation_record.h"

namespace qf::ui {

struct TextExtent {
  int width = 0;
  int height = 0;
};

enum class BubbleDirection : std::uint8_t { Received = 1, Sent = 2 };

struct BubbleRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct BubbleLayout {
  std::uint32_t message = 0;  // index into the conversation's messages
  BubbleDirection direction = BubbleDirection::Received;
  int top = 0;                // item top in the content
  int height = 0;             // item height
  BubbleRect bubble;          // inside the item
};

constexpr int kBubbleItemX = 10;
constexpr int kBubbleItemWidth = 215;
constexpr int kBubbleFirstTop = 30;
constexpr int kBubbleHeaderHeight = 30;
constexpr int kBubbleTextWidth = 160;

// One bubble of a body measured as `body`, its item starting at `top`.
BubbleLayout layout_bubble(BubbleDirection direction, TextExtent body, int top);

class ConversationLayout {
 public:
  using Measure = std::function<TextExtent(const std::string& body)>;

  // Lays out `conversation` (null: nothing): its messages oldest first by
  // date text (stable; the record is not reordered), empty bodies skipped.
  void build(const ConversationRecord* conversation, const Measure& measure);
  void clear();

  const std::vector<BubbleLayout>& bubbles() const { return bubbles_; }
  // The content's height: the bottom of the last item (0 when empty).
  int content_height() const;
  // The bubbles [first, last) whose items meet the band [top, top + height).
  std::pair<size_t, size_t> visible(int top, int height) const;

 private:
  std::vector<BubbleLayout> bubbles_;
};

}  // namespace qf::ui
