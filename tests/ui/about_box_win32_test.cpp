#include "ui/about_box_win32.h"

#include <gtest/gtest.h>

#include "tests/ui/ui_test_support.h"
#include "ui/skin_image_win32.h"
#include "ui/ui_resource.h"

namespace {

using qf::ui::CAboutBox;

int show_about(std::function<void(HWND)> act) {
  qf::test::use_built_skin();
  qf::test::when_dialog_up(std::move(act));
  CAboutBox about;
  return about.show(nullptr);
}

TEST(CAboutBox, LaysOutItsButtonsAndTheHomepageLink) {
  qf::test::use_built_skin();
  qf::ui::SkinImage background(L"aboutbk.png");
  ASSERT_FALSE(background.empty());
  show_about([&](HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, background.width());
    EXPECT_EQ(client.bottom, background.height());
    RECT close = qf::test::rect_in_parent(GetDlgItem(dialog, IDC_ABOUT_CLOSE));
    EXPECT_EQ(close.right, client.right - 8);
    EXPECT_EQ(close.top, 5);
    RECT ok = qf::test::rect_in_parent(GetDlgItem(dialog, IDC_ABOUT_OK));
    EXPECT_EQ(ok.right, client.right - 20);
    EXPECT_EQ(ok.bottom, client.bottom - 15);

    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    RECT at = qf::test::rect_in_parent(link);
    EXPECT_EQ(at.left, 40);
    EXPECT_EQ(at.top, 270);
    EXPECT_GT(at.right - at.left, 200);  // sized to "Homepage: " and the address
    wchar_t text[128] = {};
    GetWindowTextW(link, text, 128);
    EXPECT_EQ(std::wstring(text), std::wstring(L"Homepage: ") + CAboutBox::kHomePage);

    // Statics draw transparently: their colour request gets the null brush.
    HDC dc = GetDC(link);
    auto brush = SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    ReleaseDC(link, dc);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
    SendMessageW(GetDlgItem(dialog, IDC_ABOUT_OK), BM_CLICK, 0, 0);
  });
}

TEST(CAboutBox, EndsOnlyThroughCloseOkOrASystemClose) {
  EXPECT_EQ(show_about([](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDC_ABOUT_OK), BM_CLICK, 0, 0); }),
            IDC_ABOUT_OK);
  bool still_open = false;
  int result = show_about([&](HWND dialog) {
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
    qf::test::pump_dialog(dialog);
    still_open = IsWindowVisible(dialog) != FALSE;
    SendMessageW(GetDlgItem(dialog, IDC_ABOUT_CLOSE), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(still_open);
  EXPECT_EQ(result, IDC_ABOUT_CLOSE);
  EXPECT_EQ(show_about([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }), IDC_ABOUT_CLOSE);
}

TEST(CAboutBox, PaintsTheVersionLineInItsColour) {
  int version_ink = 0;
  show_about([&](HWND dialog) {
    auto canvas = qf::test::print_client(dialog);
    // "Version: 2.0.0.9" at (40, 135), RGB(0, 0, 90), 13 px.
    for (int x = 40; x < 200; ++x)
      for (int y = 135; y < 152; ++y) version_ink += canvas->pixel(x, y) == RGB(0, 0, 90);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  EXPECT_GT(version_ink, 30);
}

}  // namespace
