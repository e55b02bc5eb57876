// The main window under Wine with real worker messages: the pull runs the
// phone simulator, the loader reads the databases it pulled.
#include "app/main_dlg_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/main_dlg_resource.h"
#include "platform/app_messages.h"
#include "tests/device/sim_phone.h"
#include "tests/ui/ui_test_support.h"
#include "tools/fixtures/fixture_builder.h"
#include "ui/msg_box_win32.h"
#include "ui/update_server.h"

namespace qf::app {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kPullWaitMs = 90000;

const char kContactsDir[] = "/data/data/com.android.providers.contacts/databases/";
const char kMessagesDir[] = "/data/data/com.android.providers.telephony/databases/";

// A rooted phone holding the demo databases with their -wal files.
void put_demo_phone(const test::SimPhone& phone) {
  test::TempDir dir("qf-main-dlg");
  fixtures::FixtureOptions options;
  options.wal = true;
  options.keep_wal = true;
  ASSERT_TRUE(fixtures::write_demo_databases(dir.path().u8string(), options));
  for (const fs::directory_entry& file : fs::directory_iterator(dir.path())) {
    std::string name = file.path().filename().u8string();
    const char* remote = name.rfind("contacts2.db", 0) == 0 ? kContactsDir : kMessagesDir;
    phone.put_phone_file(remote + name, test::read_file(file.path().u8string()));
  }
  phone.attach("device");
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::use_built_skin();
    // Nothing leaves the machine: the automatic check finds no server.
    ui::use_update_server_for_tests(ui::UpdateServer{L"127.0.0.1", 9, 500});
    phone.set("devices", "");
  }

  // The main window, shown, on the simulated phone (nothing attached yet).
  CMainDlg& open() {
    CMainDlg::Options options;
    options.adb = phone.client();
    dlg = std::make_unique<CMainDlg>(options);
    EXPECT_TRUE(dlg->create());
    dlg->show(SW_SHOW);
    UpdateWindow(dlg->hwnd());
    return *dlg;
  }

  // Delivers messages until `done` holds or the wait ends; after each
  // WM_LOAD_PROGRESS the bar's position is kept.
  bool pump_until(HWND dialog, const std::function<bool()>& done, DWORD ms = kPullWaitMs) {
    return test::pump_until(dialog, done, ms, [&](const MSG& msg) {
      if (msg.message == WM_QUIT) exit_code = static_cast<int>(msg.wParam);
      if (msg.message == WM_LOAD_PROGRESS && IsWindow(dialog))
        progress.push_back(static_cast<int>(SendDlgItemMessageW(dialog, IDC_MAIN_PROGRESS, PBM_GETPOS, 0, 0)));
    });
  }

  static bool visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
  static bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

  // The controls that must and must not show on a page.
  static void expect_visible(HWND dialog, std::initializer_list<int> shown, std::initializer_list<int> hidden,
                             const char* where) {
    for (int id : shown) EXPECT_TRUE(visible(dialog, id)) << where << ": control " << id << " hidden";
    for (int id : hidden) EXPECT_FALSE(visible(dialog, id)) << where << ": control " << id << " shown";
  }

  // The window as it stands on the screen, into build/screenshots/<name>.png.
  static void screenshot(HWND dialog, const char* name) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r{};
    GetWindowRect(dialog, &r);
    Gdiplus::Bitmap bitmap(r.right - r.left, r.bottom - r.top, PixelFormat24bppRGB);
    {
      Gdiplus::Graphics graphics(&bitmap);
      HDC target = graphics.GetHDC();
      HDC screen = GetDC(nullptr);
      BitBlt(target, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
      ReleaseDC(nullptr, screen);
      graphics.ReleaseHDC(target);
    }
    fs::path folder = fs::u8path(test::binary_dir()) / "screenshots";
    fs::create_directories(folder);
    EXPECT_TRUE(test::save_png(bitmap, (folder / (std::string(name) + ".png")).wstring()));
  }

  static std::wstring item_text(HWND tree, HTREEITEM item) {
    wchar_t text[64] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = 64;
    TreeView_GetItem(tree, &query);
    return text;
  }

  // Answers the Back question with `answer` and presses Back: a thread timer
  // finds the box the main window owns inside the box's own message loop.
  static void press_back(HWND dialog, int answer) {
    static HWND owner;
    static int button;
    owner = dialog;
    button = answer;
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR timer, DWORD) {
      HWND box = nullptr;
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND window, LPARAM found) {
            if (GetWindow(window, GW_OWNER) != owner || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&box));
      if (!box) return;
      KillTimer(nullptr, timer);
      SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    });
    SendMessageW(GetDlgItem(dialog, IDC_MAIN_BACK), BM_CLICK, 0, 0);
  }

  test::SimPhone phone;
  std::unique_ptr<CMainDlg> dlg;
  std::vector<int> progress;
  int exit_code = -1;
};

const std::initializer_list<int> kToolBar = {IDC_MAIN_BACK,       IDC_MAIN_RECOVER,       IDC_MAIN_PAUSE,
                                             IDC_MAIN_STOP,       IDC_MAIN_BACK_LABEL,    IDC_MAIN_RECOVER_LABEL,
                                             IDC_MAIN_PAUSE_LABEL, IDC_MAIN_STOP_LABEL};

TEST_F(MainWindowTest, ConnectStatesLoadingBackAndClose) {
  CMainDlg& main = open();
  HWND w = main.hwnd();
  wchar_t title[64] = {};
  GetWindowTextW(w, title, 64);
  EXPECT_STREQ(title, L"Tarnwick Quillfern for Android");
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, CMainDlg::kWidth);
  EXPECT_EQ(client.bottom, CMainDlg::kHeight);

  // Checking: the animation runs, Refresh waits.
  EXPECT_EQ(main.device_state(), -1);
  expect_visible(w, {IDC_MAIN_REFRESH, IDC_MAIN_HELP_LINK, IDC_MAIN_CLOSE, IDC_MAIN_MENU},
                 {IDC_MAIN_TREE, IDC_MAIN_LIST, IDC_MAIN_PROGRESS, IDC_MAIN_BACK}, "checking");
  EXPECT_FALSE(enabled(w, IDC_MAIN_REFRESH));
  screenshot(w, "main-checking");
  EXPECT_TRUE(main.animation().running);

  // No device.
  ASSERT_TRUE(pump_until(w, [&] { return main.device_state() == 0; }));
  EXPECT_EQ(main.page(), MainPage::ConnectPage);
  EXPECT_TRUE(enabled(w, IDC_MAIN_REFRESH));
  EXPECT_FALSE(main.animation().running);
  expect_visible(w, {IDC_MAIN_REFRESH, IDC_MAIN_HELP_LINK}, {IDC_MAIN_TREE, IDC_MAIN_PROGRESS}, "no device");
  screenshot(w, "main-no-device");

  // Refresh on an unauthorised phone.
  phone.attach("unauthorized");
  SendMessageW(GetDlgItem(w, IDC_MAIN_REFRESH), BM_CLICK, 0, 0);
  EXPECT_EQ(main.device_state(), -1);
  EXPECT_FALSE(enabled(w, IDC_MAIN_REFRESH));
  ASSERT_TRUE(pump_until(w, [&] { return main.device_state() == 2; }));
  EXPECT_EQ(main.page(), MainPage::ConnectPage);
  expect_visible(w, {IDC_MAIN_REFRESH, IDC_MAIN_HELP_LINK}, {IDC_MAIN_TREE, IDC_MAIN_PROGRESS}, "unauthorised");
  screenshot(w, "main-unauthorised");

  // Refresh on a ready phone: pull, eight load steps, the loaded data page.
  put_demo_phone(phone);
  SendMessageW(GetDlgItem(w, IDC_MAIN_REFRESH), BM_CLICK, 0, 0);
  ASSERT_TRUE(pump_until(w, [&] { return main.page() == MainPage::DataPage; }));
  expect_visible(w, {IDC_MAIN_TREE, IDC_MAIN_PROGRESS}, {IDC_MAIN_REFRESH, IDC_MAIN_HELP_LINK, IDC_MAIN_BACK},
                 "loading");
  ASSERT_TRUE(pump_until(w, [&] { return visible(w, IDC_MAIN_BACK); }));
  EXPECT_EQ(progress, (std::vector<int>{12, 25, 37, 50, 62, 75, 87, 100}));
  expect_visible(w, kToolBar, {IDC_MAIN_RESUME, IDC_MAIN_RESUME_LABEL, IDC_MAIN_REFRESH, IDC_MAIN_HELP_LINK},
                 "loaded");
  expect_visible(w, {IDC_MAIN_TREE, IDC_MAIN_LIST, IDC_MAIN_PROGRESS}, {}, "loaded");
  HWND tree = main.views().tree();
  std::wstring contacts = item_text(tree, main.views().contacts_item());
  EXPECT_EQ(contacts.rfind(L"Contacts (", 0), 0u) << "label: " << narrow(contacts);
  EXPECT_NE(contacts, L"Contacts (0)");
  EXPECT_EQ(TreeView_GetSelection(tree), main.views().contacts_item());
  EXPECT_TRUE(TreeView_GetCheckState(tree, main.views().messages_item()));
  screenshot(w, "main-data-page");

  // Back answered No: nothing changes.
  press_back(w, ui::MsgBoxResult::No);
  EXPECT_EQ(main.page(), MainPage::DataPage);
  EXPECT_EQ(TreeView_GetCount(tree), 3u);
  expect_visible(w, kToolBar, {IDC_MAIN_REFRESH}, "back answered no");

  // Back answered Yes: the connect page, the pulled files gone, a fresh pull.
  phone.set("devices", "");
  Workspace paths = *main.workspace();
  press_back(w, ui::MsgBoxResult::Yes);
  EXPECT_EQ(main.page(), MainPage::ConnectPage);
  EXPECT_EQ(main.device_state(), -1);
  EXPECT_EQ(TreeView_GetCount(tree), 0u);
  for (const std::string& file : {paths.databases.contacts_db_path, paths.databases.contacts_bak_path,
                                  paths.databases.messages_db_path, paths.databases.messages_bak_path})
    EXPECT_FALSE(test::file_exists(file)) << file;
  expect_visible(w, {IDC_MAIN_REFRESH, IDC_MAIN_HELP_LINK},
                 {IDC_MAIN_TREE, IDC_MAIN_LIST, IDC_MAIN_PROGRESS, IDC_MAIN_BACK, IDC_MAIN_BACK_LABEL,
                  IDC_MAIN_RECOVER, IDC_MAIN_PAUSE, IDC_MAIN_STOP},
                 "after back");
  ASSERT_TRUE(pump_until(w, [&] { return main.device_state() == 0; }));

  // The close button ends the loop with 1000.
  SendMessageW(GetDlgItem(w, IDC_MAIN_CLOSE), BM_CLICK, 0, 0);
  ASSERT_TRUE(pump_until(w, [&] { return exit_code != -1; }, 5000));
  EXPECT_EQ(exit_code, kExitByCloseButton);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(MainWindowTest, EnterAndEscapeDoNotCloseAndACloseRequestEndsWithZero) {
  HWND w = open().hwnd();
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageW(w, WM_KEYDOWN, key, 0);
    pump_until(w, [] { return false; }, 200);
    EXPECT_TRUE(IsWindow(w)) << key;
  }
  PostMessageW(w, WM_CLOSE, 0, 0);
  ASSERT_TRUE(pump_until(w, [&] { return exit_code != -1; }, 5000));
  EXPECT_EQ(exit_code, kExitByCloseRequest);
}

}  // namespace
}  // namespace qf::app
