// The conversation pane's layout arithmetic and the visible range it paints.
#include "ui/bubble_layout.h"

#include <gtest/gtest.h>

namespace qf::ui {
namespace {

// A body of "w<digits>" measures <digits> pixels wide, 16 high.
TextExtent by_name(const std::string& body) { return {std::stoi(body.substr(1)), 16}; }

MessageRecord message(int type, const char* date, const char* body) {
  MessageRecord m;
  m.type = type;
  m.date_text = date;
  m.body = body;
  return m;
}

TEST(BubbleLayout, WorkedExamples) {
  struct Case {
    BubbleDirection direction;
    int width;
    BubbleRect bubble;
    int height;
  } cases[] = {
      {BubbleDirection::Received, 100, {0, 30, 130, 87}, 87},
      {BubbleDirection::Sent, 400, {24, 30, 215, 122}, 122},
      {BubbleDirection::Sent, 160, {24, 30, 215, 90}, 90},
      {BubbleDirection::Received, 161, {0, 30, 190, 103}, 103},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    BubbleLayout b = layout_bubble(c.direction, {c.width, 16}, 30);
    EXPECT_EQ(b.bubble.left, c.bubble.left);
    EXPECT_EQ(b.bubble.top, c.bubble.top);
    EXPECT_EQ(b.bubble.right, c.bubble.right);
    EXPECT_EQ(b.bubble.bottom, c.bubble.bottom);
    EXPECT_EQ(b.height, c.height);
  }
}

TEST(ConversationLayout, OldestFirstEmptyBodiesSkippedItemsStacked) {
  ConversationRecord conversation;
  conversation.messages = {message(2, "2024-01-02 10:00:00", "w400"), message(1, "2024-01-01 09:00:00", "w100"),
                           message(1, "2024-01-01 09:30:00", ""), message(1, "2024-01-03 08:00:00", "w50")};
  ConversationLayout layout;
  layout.build(&conversation, by_name);
  ASSERT_EQ(layout.bubbles().size(), 3u);
  std::vector<std::uint32_t> order;
  std::vector<int> tops;
  for (const BubbleLayout& b : layout.bubbles()) {
    order.push_back(b.message);
    tops.push_back(b.top);
  }
  EXPECT_EQ(order, (std::vector<std::uint32_t>{1, 0, 3}));
  EXPECT_EQ(tops, (std::vector<int>{30, 117, 239}));
  EXPECT_EQ(layout.content_height(), 239 + 87);
  EXPECT_EQ(conversation.messages[0].body, "w400");  // the record keeps its order
}

TEST(ConversationLayout, VisibleRangeCoversExactlyTheBand) {
  ConversationRecord conversation;
  for (int i = 0; i < 50000; ++i) conversation.messages.push_back(message(1, "2024-01-01 00:00:00", "w100"));
  ConversationLayout layout;
  layout.build(&conversation, by_name);
  EXPECT_EQ(layout.content_height(), 30 + 50000 * 87);
  struct Case {
    int top, height;
    size_t first, last;
  } cases[] = {{0, 507, 0, 6}, {30 + 87, 87, 1, 2}, {30 + 87 - 1, 2, 0, 2}, {layout.content_height(), 100, 50000, 50000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.top);
    auto range = layout.visible(c.top, c.height);
    EXPECT_EQ(range.first, c.first);
    EXPECT_EQ(range.second, c.last);
  }
}

}  // namespace
}  // namespace qf::ui
