#include "ui/msg_box_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/skin_image_win32.h"

namespace {

using qf::ui::CMsgBox;
using qf::ui::MsgBoxButtons;
using qf::ui::MsgBoxIcon;
using qf::ui::MsgBoxResult;

class MsgBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { qf::test::use_built_skin(); }

  // Shows a box; once it is up, `act` runs with it and must end it.
  int show(unsigned buttons, const std::wstring& text, std::function<void(HWND)> act) {
    qf::test::when_dialog_up(std::move(act));
    CMsgBox box;
    return box.show(MsgBoxIcon::Info, buttons, text, nullptr);
  }
  static void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static int picture_width(const wchar_t* name) { return qf::ui::SkinImage(name).width(); }
};

TEST_F(MsgBoxTest, TakesItsSizeFromTheBackgroundAndIsClippedToRoundedCorners) {
  qf::ui::SkinImage background(L"msgbox.png");
  ASSERT_FALSE(background.empty()) << "the build draws the skin into program/image";
  show(MsgBoxButtons::Ok, L"Short text.", [&](HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, background.width());
    EXPECT_EQ(client.bottom, background.height());
    EXPECT_FALSE(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CAPTION);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(dialog, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));                    // corner cut away
    EXPECT_TRUE(PtInRegion(region, client.right / 2, 0));      // edge kept
    DeleteObject(region);
    click(dialog, MsgBoxResult::Ok);
  });
}

TEST_F(MsgBoxTest, OneButtonSitsCentredAlongTheBottom) {
  show(MsgBoxButtons::Yes, L"This version of (Tarnwick Quillfern for Android) is the latest version.",
       [&](HWND dialog) {
         RECT client{};
         GetClientRect(dialog, &client);
         HWND yes = GetDlgItem(dialog, MsgBoxResult::Yes);
         RECT at = qf::test::rect_in_parent(yes);
         EXPECT_TRUE(IsWindowVisible(yes));
         EXPECT_EQ(at.right - at.left, picture_width(L"yes.png") / 4);
         EXPECT_EQ(at.left, client.right / 2 - (at.right - at.left) / 2);
         EXPECT_EQ(at.bottom, client.bottom - 15);
         for (int hidden : {MsgBoxResult::Ok, MsgBoxResult::No, MsgBoxResult::Cancel})
           EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, hidden)));
         click(dialog, MsgBoxResult::Yes);
       });
}

TEST_F(MsgBoxTest, PairsSitTwentyPixelsEitherSideOfTheCentre) {
  struct Pair {
    unsigned flags;
    int left, right;
  } pairs[] = {{MsgBoxButtons::Ok | MsgBoxButtons::Cancel, MsgBoxResult::Ok, MsgBoxResult::Cancel},
               {MsgBoxButtons::Yes | MsgBoxButtons::No, MsgBoxResult::Yes, MsgBoxResult::No}};
  for (const Pair& pair : pairs) {
    SCOPED_TRACE(pair.flags);
    show(pair.flags, L"Are you sure to go back to reload the data from Android phone?", [&](HWND dialog) {
      RECT client{};
      GetClientRect(dialog, &client);
      RECT left = qf::test::rect_in_parent(GetDlgItem(dialog, pair.left));
      RECT right = qf::test::rect_in_parent(GetDlgItem(dialog, pair.right));
      EXPECT_EQ(left.right, client.right / 2 - 20);
      EXPECT_EQ(right.left, client.right / 2 + 20);
      EXPECT_EQ(left.bottom, client.bottom - 15);
      EXPECT_EQ(right.bottom, client.bottom - 15);
      RECT close = qf::test::rect_in_parent(GetDlgItem(dialog, MsgBoxResult::Close));
      EXPECT_EQ(close.right, client.right - 5);
      EXPECT_EQ(close.top, 5);
      click(dialog, MsgBoxResult::Close);
    });
  }
}

TEST_F(MsgBoxTest, EachButtonReturnsItsOwnId) {
  struct Case {
    unsigned flags;
    int pressed;
  } cases[] = {{MsgBoxButtons::Ok, MsgBoxResult::Ok},
               {MsgBoxButtons::Ok | MsgBoxButtons::Cancel, MsgBoxResult::Cancel},
               {MsgBoxButtons::Yes | MsgBoxButtons::No, MsgBoxResult::Yes},
               {MsgBoxButtons::Yes | MsgBoxButtons::No, MsgBoxResult::No},
               {MsgBoxButtons::Yes | MsgBoxButtons::No, MsgBoxResult::Close}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressed);
    EXPECT_EQ(show(c.flags, L"Question?", [&](HWND dialog) { click(dialog, c.pressed); }), c.pressed);
  }
}

TEST_F(MsgBoxTest, EscapeAndEnterDoNotCloseIt) {
  bool still_open = false;
  int result = show(MsgBoxButtons::Yes | MsgBoxButtons::No, L"Question?", [&](HWND dialog) {
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
      PostMessageW(dialog, WM_KEYDOWN, key, 0);
      PostMessageW(dialog, WM_KEYUP, key, 0);
    }
    qf::test::pump_dialog(dialog);
    still_open = IsWindowVisible(dialog) != FALSE;
    click(dialog, MsgBoxResult::Close);
  });
  EXPECT_TRUE(still_open);
  EXPECT_EQ(result, MsgBoxResult::Close);
}

// Rows of the text area (x from 70, below the title band, above the
// buttons) that hold dark ink.
struct InkRows {
  int first = -1, last = -1, rightmost = -1;
};

InkRows ink_rows(HWND dialog) {
  auto canvas = qf::test::print_client(dialog);
  RECT client{};
  GetClientRect(dialog, &client);
  RECT button = qf::test::rect_in_parent(GetDlgItem(dialog, MsgBoxResult::Ok));
  InkRows rows;
  for (int y = 31; y < button.top; ++y) {
    for (int x = 70; x < client.right; ++x) {
      COLORREF c = canvas->pixel(x, y);
      if (GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90) {
        if (rows.first < 0) rows.first = y;
        rows.last = y;
        rows.rightmost = std::max(rows.rightmost, x);
      }
    }
  }
  return rows;
}

TEST_F(MsgBoxTest, ShortTextSitsOnOneLineInTheMiddleAndLongTextWrapsAsACentredBlock) {
  InkRows short_rows, long_rows;
  int height = 0, width = 0;
  show(MsgBoxButtons::Ok, L"Please select the file(s) you want to recover.", [&](HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    height = client.bottom;
    width = client.right;
    short_rows = ink_rows(dialog);
    click(dialog, MsgBoxResult::Ok);
  });
  show(MsgBoxButtons::Ok,
       L"A new version of (Tarnwick Quillfern for Android) is available. Click Yes to open download page. "
       L"Nothing else changes.",
       [&](HWND dialog) {
         long_rows = ink_rows(dialog);
         click(dialog, MsgBoxResult::Ok);
       });
  const int line = 19;  // Arial 16 px: about one line of ink
  ASSERT_GE(short_rows.first, 0);
  EXPECT_LT(short_rows.last - short_rows.first, line);
  EXPECT_NEAR((short_rows.first + short_rows.last) / 2, height / 2, 6);

  ASSERT_GE(long_rows.first, 0);
  EXPECT_GT(long_rows.last - long_rows.first, 2 * line);  // three lines or more
  EXPECT_NEAR((long_rows.first + long_rows.last) / 2, height / 2, line);
  EXPECT_LT(long_rows.rightmost, width - 10);  // wrapped inside the box
}

}  // namespace
