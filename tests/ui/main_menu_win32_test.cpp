#include "ui/main_menu_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/version.h"
#include "tests/ui/local_http_server_win32.h"
#include "tests/ui/outcome_window_win32.h"
#include "tests/ui/ui_test_support.h"
#include "ui/ui_resource.h"
#include "ui/update_server.h"

namespace qf::ui {
namespace {

TEST(MainMenu, EntriesInOrderWithTheirCommands) {
  HMENU menu = build_main_menu();
  ASSERT_NE(menu, nullptr);
  const std::pair<const wchar_t*, int> expected[] = {
      {L"Home", kMenuHome},     {L"About", kMenuAbout},     {L"Help", kMenuHelp}, {L"Open Disk Image...", kMenuOpenDiskImage},
      {L"Update", kMenuUpdate}, {L"Exit", kMenuExit}};
  ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(expected)));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[32] = {};
    GetMenuStringW(menu, i, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, expected[i].first);
    EXPECT_EQ(static_cast<int>(GetMenuItemID(menu, i)), expected[i].second);
  }
  DestroyMenu(menu);
}

TEST(MainMenu, AboutOpensTheAboutBoxModally) {
  test::use_built_skin();
  test::TestParent parent(300, 200);
  std::wstring title;
  test::when_dialog_up([&](HWND box) {
    wchar_t text[64] = {};
    GetWindowTextW(box, text, 64);
    title = text;
    SendMessageW(GetDlgItem(box, IDC_ABOUT_OK), BM_CLICK, 0, 0);
  });
  run_main_menu_command(parent.hwnd(), kMenuAbout, nullptr);
  EXPECT_EQ(title, L"" QF_PRODUCT_NAME);
}

TEST(MainMenu, UpdateChecksTheServerAndExitRunsTheExitAction) {
  test::LocalHttpServer server(
      {200, "<u><product name=\"" QF_PRODUCT_NAME "\" version=\"" QF_VERSION_TEXT "\"/></u>"});
  use_update_server_for_tests(UpdateServer{L"127.0.0.1", server.port(), 3000});
  test::OutcomeWindow window;
  bool exited = false;
  run_main_menu_command(window.hwnd(), kMenuUpdate, [&] { exited = true; });
  ASSERT_TRUE(window.wait(10000));
  EXPECT_EQ(window.outcomes[0].first, static_cast<WPARAM>(UpdateStatus::Latest));
  EXPECT_EQ(server.requests(), 1);
  EXPECT_FALSE(exited);
  run_main_menu_command(window.hwnd(), kMenuExit, [&] { exited = true; });
  EXPECT_TRUE(exited);
  use_update_server_for_tests(UpdateServer{});
}

}  // namespace
}  // namespace qf::ui
