#include "ui/draw_helpers_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ui/memory_canvas_win32.h"

namespace {

using qf::ui::MemoryCanvas;

bool close_to(COLORREF a, COLORREF b, int tolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(DrawHelpers, GradientRunsLeftToRightForDirectionZeroAndTopToBottomOtherwise) {
  const COLORREF from = RGB(168, 229, 246), to = RGB(241, 247, 249);
  MemoryCanvas canvas(200, 100);
  qf::ui::gradient_fillrect(canvas.dc(), RECT{0, 0, 200, 50}, from, to, 0);
  EXPECT_TRUE(close_to(canvas.pixel(0, 10), from));
  EXPECT_TRUE(close_to(canvas.pixel(199, 10), to));
  EXPECT_EQ(canvas.pixel(100, 0), canvas.pixel(100, 49));  // no change down a column
  qf::ui::gradient_fillrect(canvas.dc(), RECT{0, 50, 200, 100}, from, to, 1);
  EXPECT_TRUE(close_to(canvas.pixel(10, 50), from));
  EXPECT_TRUE(close_to(canvas.pixel(10, 99), to));
  EXPECT_EQ(canvas.pixel(0, 75), canvas.pixel(199, 75));
}

TEST(DrawHelpers, SubrectOfEmptyContentHasNoHeight) {
  RECT out{1, 1, 1, 1};
  qf::ui::calc_subrect(&out, RECT{0, 0, 200, 200}, 0, 0);
  EXPECT_EQ(out.bottom - out.top, 0);
  qf::ui::calc_subrect(&out, RECT{0, 0, 200, 200}, 50, 20);
  EXPECT_EQ(out.left, 75);
  EXPECT_EQ(out.top, 90);
  EXPECT_EQ(out.right, 125);
  EXPECT_EQ(out.bottom, 110);
  // Content larger than the box is cut to the box.
  qf::ui::calc_subrect(&out, RECT{0, 0, 200, 200}, 500, 300);
  EXPECT_EQ(out.right - out.left, 200);
  EXPECT_EQ(out.bottom - out.top, 200);
}

TEST(DrawHelpers, GetFontGivesANewFontOfThatFaceHeightAndWeight) {
  qf::ui::OwnedFont font(qf::ui::get_font(L"Arial", 16, 400));
  ASSERT_NE(font.get(), nullptr);
  LOGFONTW description{};
  GetObjectW(font.get(), sizeof(description), &description);
  EXPECT_EQ(description.lfHeight, -16);
  EXPECT_EQ(description.lfWeight, 400);
  EXPECT_EQ(std::wstring(description.lfFaceName), L"Arial");
  qf::ui::OwnedFont other(qf::ui::get_font(L"Arial", 16, 400));
  EXPECT_NE(other.get(), font.get());  // the caller owns each one
}

}  // namespace
