#include "ui/bubble_layout.h"

#include <algorithm>
#include <numeric>

namespace qf::ui {

BubbleLayout layout_bubble(BubbleDirection direction, TextExtent body, int top) {
  int box = body.width;
  int text_height = body.height;
  if (body.width > kBubbleTextWidth) {
    box = kBubbleTextWidth;
    text_height = (body.width + kBubbleTextWidth - 1) / kBubbleTextWidth * body.height;
  }
  BubbleLayout b;
  b.direction = direction;
  b.top = top;
  if (direction == BubbleDirection::Received) {
    b.bubble = {0, 30, box + 30, text_height + 71};
    b.height = text_height + 71;
  } else {
    b.bubble = {kBubbleItemWidth - box - 31, 30, kBubbleItemWidth, text_height + 74};
    b.height = text_height + 74;
  }
  return b;
}

void ConversationLayout::clear() { bubbles_.clear(); }

void ConversationLayout::build(const ConversationRecord* conversation, const Measure& measure) {
  bubbles_.clear();
  if (!conversation) return;
  const std::vector<MessageRecord>& messages = conversation->messages;
  std::vector<std::uint32_t> order(messages.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return messages[a].date_text < messages[b].date_text;
  });
  bubbles_.reserve(order.size());
  int top = kBubbleFirstTop;
  for (std::uint32_t i : order) {
    const MessageRecord& m = messages[i];
    if (m.body.empty()) continue;
    BubbleDirection direction = IsReceivedMessage(m) ? BubbleDirection::Received : BubbleDirection::Sent;
    BubbleLayout b = layout_bubble(direction, measure(m.body), top);
    b.message = i;
    bubbles_.push_back(b);
    top += b.height;
  }
}

int ConversationLayout::content_height() const {
  return bubbles_.empty() ? 0 : bubbles_.back().top + bubbles_.back().height;
}

std::pair<size_t, size_t> ConversationLayout::visible(int top, int height) const {
  auto first = std::upper_bound(bubbles_.begin(), bubbles_.end(), top,
                                [](int y, const BubbleLayout& b) { return y < b.top + b.height; });
  auto last = std::lower_bound(first, bubbles_.end(), top + height,
                               [](const BubbleLayout& b, int y) { return b.top < y; });
  return {static_cast<size_t>(first - bubbles_.begin()), static_cast<size_t>(last - bubbles_.begin())};
}

}  // namespace qf::ui
