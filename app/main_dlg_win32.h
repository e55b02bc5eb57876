#pragma once
// CMainDlg: the program's only top-level window and the owner of what one run
// finds. Two pages: the connect page (is a phone attached, and what to do
// when it is not) and the data page (the records in a tree and a list).
// Every long task runs on a worker thread that reports by posted message:
//   start, Refresh, Back  -> pull_thread         -> WM_PULL_DONE (device state)
//   WM_PULL_DONE ready    -> load_records_thread -> WM_LOAD_PROGRESS x8,
//                                                   WM_RECORDS_LOADED
//   timer 3 / menu Update -> update checks       -> WM_UPDATE_AVAILABLE
// Closing ends the message loop with 1000 (close button) or 0 (close
// request, menu Exit).
#include <windows.h>

#include <memory>
#include <optional>

#include "app/data_page_views_win32.h"
#include "app/loading_animation_win32.h"
#include "app/message_loop_win32.h"
#include "app/process_entry_win32.h"
#include "device/adb_runner.h"
#include "platform/version.h"
#include "records/record_tables.h"
#include "ui/draw_helpers_win32.h"
#include "ui/hyperlink_win32.h"
#include "ui/img_button_win32.h"
#include "ui/skin_image_win32.h"
#include "ui/skinned_dialog_win32.h"

namespace qf::app {

enum class MainPage { ConnectPage = 1, DataPage = 2 };

// Exit codes of the message loop.
constexpr int kExitByCloseButton = 1000;
constexpr int kExitByCloseRequest = 0;

class CMainDlg final : public ui::CSkinnedDialog, public TopWindow, public MessageFilter {
 public:
  static constexpr wchar_t kTitle[] = L"" QF_PRODUCT_NAME;
  static constexpr int kWidth = 984;
  static constexpr int kHeight = 674;
  static constexpr RECT kStatusArea{120, 230, 905, 561};

  struct Options {
    // Closes itself 200 ms after start; the loop then ends with 0 only when
    // the window was shown before it closed (4 otherwise).
    bool smoke_test = false;
    // The ADB client; the one beside the program when unset.
    std::optional<device::AdbClient> adb;
  };

  explicit CMainDlg(Options options);
  CMainDlg() : CMainDlg(Options{}) {}
  ~CMainDlg() override;

  // TopWindow
  bool create() override;
  void show(int show_command) override;
  std::optional<Workspace> workspace() const override { return workspace_; }
  bool pre_translate_message(MSG& message) override;

  MainPage page() const { return page_; }
  int device_state() const { return device_state_; }
  const LoadingAnimation& animation() const { return animation_; }
  const DataPageViews& views() const { return views_; }

 protected:
  BOOL on_init() override;
  void paint_body(HDC dc, int width, int height) override;
  bool on_command(int id, int code) override;
  INT_PTR on_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  struct Records {
    ContactTable contacts;
    ConversationTable conversations;
  };
  // Timers: the smoke test's close, the loading animation, the update check.
  static constexpr UINT_PTR kSmokeTimer = 1;
  static constexpr UINT_PTR kAnimationTimer = 2;
  static constexpr UINT_PTR kUpdateTimer = 3;

  void create_controls();
  void attach_button(ui::CImgButton& button, int id, const wchar_t* picture, int x, int y, int frames = 4);
  void show_control(int id, bool visible) const;
  void show_tool_bar(bool loaded);
  void set_refresh_active(bool active);

  void paint_connect_page(HDC dc);
  void paint_help_lines(HDC dc) const;
  void paint_authorisation_lines(HDC dc) const;

  void on_timer(UINT_PTR timer);
  void on_pull_done(int result);
  void on_load_progress(WPARAM step, LPARAM steps) const;
  void on_records_loaded();
  void on_refresh();
  void on_back();
  void on_menu();
  void start_pull();
  void start_load();
  void stop_animation();
  void free_records();
  void shut_down(int exit_code);

  Options options_;
  MainPage page_ = MainPage::ConnectPage;
  int device_state_ = -1;
  bool shown_ = false;
  bool loading_ = false;  // load_records_thread runs
  std::optional<Workspace> workspace_;
  std::shared_ptr<Records> records_;
  DataPageViews views_;

  ui::SkinImage connect_background_;
  ui::SkinImage data_background_;
  ui::SkinImage step_strip_;
  ui::SkinImage load_fail_;
  ui::SkinImage rsa_tip_;
  LoadingAnimation animation_;

  ui::CImgButton close_, minimise_, menu_, home_, help_, refresh_;
  ui::CImgButton back_, recover_, pause_, resume_, stop_;
  ui::CMyHyperLink help_link_;
  ui::OwnedFont label_font_;
  ui::OwnedFont link_font_;
  ui::OwnedFont authorisation_font_;
  ui::OwnedFont authorisation_hint_font_;
};

}  // namespace qf::app
