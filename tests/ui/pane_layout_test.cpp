// Picture fit and the contact card's rows.
#include <gtest/gtest.h>

#include "ui/contact_card_layout.h"
#include "ui/picture_fit.h"
#include "ui/scroll_position.h"

namespace qf::ui {
namespace {

TEST(FitPicture, ShrinksLargePicturesAndCentresSmallOnes) {
  struct Case {
    int w, h;
    PicturePlace expected;
  } cases[] = {{480, 1014, {0, 0, 240, 507}},  {100, 50, {70, 228, 100, 50}}, {1000, 100, {0, 241, 240, 24}},
               {240, 507, {0, 0, 240, 507}},   {0, 50, {0, 0, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.w);
    PicturePlace p = fit_picture(c.w, c.h, 240, 507);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
    EXPECT_EQ(p.width, c.expected.width);
    EXPECT_EQ(p.height, c.expected.height);
  }
}

// Every byte 10 px wide.
int ten_per_byte(std::string_view text) { return static_cast<int>(text.size()) * 10; }

TEST(BreakLines, EndsAtNewlinesAndBeforeTheCharacterThatOverflows) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {{"abcdefgh", {"abcde", "fgh"}},
               {"ab\r\ncd\ne", {"ab", "cd", "e"}},
               {"\xE4\xB8\xAD\xE6\x96\x87", {"\xE4\xB8\xAD", "\xE6\x96\x87"}},  // 30 px a character
               {"", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(break_lines(c.text, 60, ten_per_byte), c.lines);
  }
}

TEST(ContactCard, LongValuesGrowTheirBoxAndTheCard) {
  std::array<int, kCardRows> fits{1, 1, 1, 3, 1, 3, 1, 1, 1, 1};
  int height = 0;
  auto rows = layout_card(fits, 16, &height);
  EXPECT_EQ(rows[9].value_bottom, 372);
  EXPECT_EQ(height, 382);
  std::array<int, kCardRows> long_note = fits;
  long_note[3] = 20;  // 320 px in a 50 px box
  rows = layout_card(long_note, 16, &height);
  EXPECT_EQ(rows[3].value_bottom, 172 + 320);
  EXPECT_EQ(rows[4].top, 222 + 270);
  EXPECT_EQ(height, 382 + 270);
}

}  // namespace
}  // namespace qf::ui

namespace qf::ui {
namespace {

TEST(ScrollTo, StaysWithinTheContent) {
  ScrollSpan span{1000, 400, 10};
  struct Case {
    int from;
    ScrollRequest request;
    int thumb;
    int expected;
  } cases[] = {{0, ScrollRequest::LineUp, 0, 0},        {0, ScrollRequest::LineDown, 0, 10},
               {550, ScrollRequest::PageDown, 0, 600},  {100, ScrollRequest::PageUp, 0, 0},
               {0, ScrollRequest::Bottom, 0, 600},      {0, ScrollRequest::Thumb, 5000, 600}};
  for (const Case& c : cases) EXPECT_EQ(scroll_to(span, c.from, c.request, c.thumb), c.expected);
  EXPECT_EQ(scroll_by_wheel(span, 0, -240, 50), 100);
  EXPECT_EQ(scroll_to(ScrollSpan{300, 400, 10}, 0, ScrollRequest::Bottom), 0);  // content shorter than the view
}

}  // namespace
}  // namespace qf::ui
