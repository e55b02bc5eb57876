#include "ui/img_button_win32.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/ui/ui_test_support.h"

namespace {

using qf::test::TestParent;
using qf::ui::CImgButton;
using qf::ui::MemoryCanvas;

// Frame i of the test strip is filled with kFrameColour[i], except for a
// fully transparent stripe at x 30..39 of every frame.
const COLORREF kFrameColour[4] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(90, 90, 90)};
const COLORREF kParentColour = RGB(250, 0, 250);
constexpr int kFrameWidth = 40, kFrameHeight = 20;

std::wstring write_strip(const qf::test::TempDir& dir) {
  Gdiplus::Bitmap strip(4 * kFrameWidth, kFrameHeight, PixelFormat32bppARGB);
  for (int frame = 0; frame < 4; ++frame) {
    COLORREF c = kFrameColour[frame];
    for (int x = 0; x < kFrameWidth; ++x) {
      for (int y = 0; y < kFrameHeight; ++y) {
        BYTE alpha = x >= 30 ? 0 : 255;
        strip.SetPixel(frame * kFrameWidth + x, y, Gdiplus::Color(alpha, GetRValue(c), GetGValue(c), GetBValue(c)));
      }
    }
  }
  std::wstring path = qf::widen(dir.file("strip.png"));
  EXPECT_TRUE(qf::test::save_png(strip, path));
  return path;
}

class ImgButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qf::test::use_built_skin();
    strip_ = write_strip(dir_);
    control_ = parent_.add_button(77);
    ASSERT_TRUE(button_.attach(control_, strip_, 10, 10, 4));
    // The parent's pixels under the button, as a parent hands them over
    // after painting.
    MemoryCanvas painted(400, 300);
    HBRUSH brush = CreateSolidBrush(kParentColour);
    RECT all{0, 0, 400, 300};
    FillRect(painted.dc(), &all, brush);
    DeleteObject(brush);
    button_.refresh_background(painted.dc());
  }

  // The button's pixel at (x, y) as it draws itself now.
  COLORREF drawn(int x, int y) { return qf::test::print_client(control_)->pixel(x, y); }

  qf::test::TempDir dir_;
  std::wstring strip_;
  TestParent parent_{400, 300};
  HWND control_ = nullptr;
  CImgButton button_;
};

TEST_F(ImgButtonTest, FrameSizeComesFromTheStripAndNegativePlacesFromTheFarEdges) {
  EXPECT_EQ(button_.frame_width(), kFrameWidth);  // 160 px strip, 4 frames
  EXPECT_EQ(button_.frame_height(), kFrameHeight);
  RECT at = qf::test::rect_in_parent(control_);
  EXPECT_EQ(at.left, 10);
  EXPECT_EQ(at.right - at.left, kFrameWidth);
  EXPECT_EQ(at.bottom - at.top, kFrameHeight);

  button_.move_to(-5, -8);
  at = qf::test::rect_in_parent(control_);
  EXPECT_EQ(at.left, 400 - 5 - kFrameWidth);  // 355
  EXPECT_EQ(at.top, 300 - 8 - kFrameHeight);
  EXPECT_TRUE(GetWindowLongPtrW(control_, GWL_STYLE) & BS_OWNERDRAW);
}

TEST_F(ImgButtonTest, DrawsNormalHoverAndPressedFramesOverTheParentsPixels) {
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kNormal]);
  EXPECT_EQ(drawn(35, 5), kParentColour);  // transparent pixels show the parent

  SendMessageW(control_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button_.hover());
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kHover]);

  SendMessageW(control_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button_.pressed());
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kPressed]);
  EXPECT_EQ(drawn(35, 5), kParentColour);

  SendMessageW(control_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(button_.pressed());
  ASSERT_EQ(parent_.commands.size(), 1u);
  EXPECT_EQ(parent_.commands[0], 77);  // the click reaches the owner as its id

  SendMessageW(control_, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button_.hover());
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kNormal]);
}

TEST_F(ImgButtonTest, InactiveDrawsFrameThreeWhateverTheMouseDoesAndShowsNoHand) {
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  SetCursor(nullptr);
  SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), hand);

  button_.set_active(false);
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kInactive]);
  SendMessageW(control_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(button_.hover());
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kInactive]);
  SendMessageW(control_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kInactive]);
  SendMessageW(control_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(parent_.commands.empty());

  SetCursor(nullptr);
  SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), hand);

  button_.set_active(true);
  EXPECT_EQ(drawn(5, 5), kFrameColour[CImgButton::kNormal]);
}

TEST_F(ImgButtonTest, AMissingPictureGivesAnEmptyButton) {
  HWND other = parent_.add_button(78);
  CImgButton missing;
  ASSERT_TRUE(missing.attach(other, qf::widen(dir_.file("absent.png")), -5, 5, 4));
  RECT at = qf::test::rect_in_parent(other);
  EXPECT_EQ(at.right - at.left, 0);
  EXPECT_EQ(at.bottom - at.top, 0);
}

}  // namespace
