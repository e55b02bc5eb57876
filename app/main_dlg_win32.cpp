#include "app/main_dlg_win32.h"

#include <thread>

#include "app/app_module_win32.h"
#include "app/main_dlg_resource.h"
#include "device/pull_thread.h"
#include "platform/app_messages.h"
#include "platform/window_sink_win32.h"
#include "records/display_lists.h"
#include "records/record_loader.h"
#include "ui/main_menu_win32.h"
#include "ui/msg_box_win32.h"
#include "ui/skin_folder_win32.h"
#include "ui/update_auto_check_win32.h"
#include "ui/update_notice_win32.h"
#include "ui/web_pages_win32.h"

namespace qf::app {

namespace {

constexpr UINT kUpdateDelayMs = 1000;
constexpr UINT kSmokeDelayMs = 200;

// The tool bar of the data page: button, its label, picture and places.
struct ToolBarEntry {
  int button;
  int label;
  const wchar_t* picture;
  int x;
  int label_x;
};

constexpr int kToolBarY = 50;
constexpr int kLabelY = 90;
constexpr SIZE kLabelSize{80, 106};

constexpr ToolBarEntry kToolBar[] = {
    {IDC_MAIN_BACK, IDC_MAIN_BACK_LABEL, L"back.png", 280, 260},
    {IDC_MAIN_RECOVER, IDC_MAIN_RECOVER_LABEL, L"recover.png", 360, 340},
    {IDC_MAIN_PAUSE, IDC_MAIN_PAUSE_LABEL, L"pause.png", 440, 420},
    {IDC_MAIN_RESUME, IDC_MAIN_RESUME_LABEL, L"resume.png", 440, 420},
    {IDC_MAIN_STOP, IDC_MAIN_STOP_LABEL, L"stop_toolbar.png", 520, 500},
};

const wchar_t kBackQuestion[] = L"Are you sure to go back to reload the data from Android phone?";

}  // namespace

CMainDlg::CMainDlg(Options options)
    : options_(std::move(options)),
      connect_background_(L"mainbg1.png"),
      data_background_(L"mainbg2.png"),
      step_strip_(L"step1.png"),
      load_fail_(L"loadfail.png"),
      rsa_tip_(L"rsa_tip.png"),
      animation_(L"loaddata.gif") {}

CMainDlg::~CMainDlg() {
  if (hwnd()) DestroyWindow(hwnd());
}

bool CMainDlg::create() {
  if (!create_modeless(IDD_MAINDLG, nullptr)) return false;
  if (MessageLoop* loop = app_module().message_loop()) loop->add_message_filter(this);
  return true;
}

void CMainDlg::show(int show_command) { ShowWindow(hwnd(), show_command); }

bool CMainDlg::pre_translate_message(MSG& message) { return hwnd() && IsDialogMessageW(hwnd(), &message); }

BOOL CMainDlg::on_init() {
  SetWindowTextW(hwnd(), kTitle);
  size_to_background(kWidth, kHeight);
  create_controls();
  workspace_ = set_up_workspace();
  SetTimer(hwnd(), kUpdateTimer, kUpdateDelayMs, nullptr);
  if (options_.smoke_test) SetTimer(hwnd(), kSmokeTimer, kSmokeDelayMs, nullptr);
  start_pull();
  return TRUE;
}

void CMainDlg::attach_button(ui::CImgButton& button, int id, const wchar_t* picture, int x, int y, int frames) {
  button.attach(GetDlgItem(hwnd(), id), ui::skin_path(picture), x, y, frames);
  add_image_button(&button);
}

void CMainDlg::create_controls() {
  attach_button(close_, IDC_MAIN_CLOSE, L"close.png", -8, 5);
  attach_button(minimise_, IDC_MAIN_MINIMISE, L"min.png", -29, 5);
  attach_button(menu_, IDC_MAIN_MENU, L"menu.png", -50, 5, 3);
  attach_button(home_, IDC_MAIN_HOME, L"btn_home.png", -120, 5);
  attach_button(help_, IDC_MAIN_HELP, L"btn_help.png", -90, 5);
  attach_button(refresh_, IDC_MAIN_REFRESH, L"refresh.png", -30, -35);
  set_refresh_active(false);

  label_font_.reset(ui::get_font(L"Courier New", 16, 400));
  ui::CImgButton* tool_buttons[] = {&back_, &recover_, &pause_, &resume_, &stop_};
  for (std::size_t i = 0; i < std::size(kToolBar); ++i) {
    const ToolBarEntry& entry = kToolBar[i];
    attach_button(*tool_buttons[i], entry.button, entry.picture, entry.x, kToolBarY);
    HWND label = GetDlgItem(hwnd(), entry.label);
    SetWindowPos(label, nullptr, entry.label_x, kLabelY, kLabelSize.cx, kLabelSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(label_font_.get()), FALSE);
  }
  show_tool_bar(false);

  link_font_.reset(ui::get_font(L"Arial", 16, 400));
  HWND link = GetDlgItem(hwnd(), IDC_MAIN_HELP_LINK);
  help_link_.attach(link, L"Have Problems?", ui::kOnlineHelpPage);
  help_link_.set_font(link_font_.get());
  SIZE size = help_link_.label_size();
  SetWindowPos(link, nullptr, 380, 540, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  views_.attach(hwnd());
  HWND progress = GetDlgItem(hwnd(), IDC_MAIN_PROGRESS);
  SetWindowPos(progress, nullptr, 20, 639, 940, 20, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SendMessageW(progress, PBM_SETRANGE32, 0, 100);
  authorisation_font_.reset(ui::get_font(L"Arial", 19, 400));       // 14 point
  authorisation_hint_font_.reset(ui::get_font(L"Arial", 13, 400));  // 10 point
}

void CMainDlg::show_control(int id, bool visible) const {
  ShowWindow(GetDlgItem(hwnd(), id), visible ? SW_SHOW : SW_HIDE);
}

void CMainDlg::show_tool_bar(bool loaded) {
  for (const ToolBarEntry& entry : kToolBar) {
    bool visible = loaded && entry.button != IDC_MAIN_RESUME;
    show_control(entry.button, visible);
    show_control(entry.label, visible);
  }
  for (ui::CImgButton* button : {&back_, &recover_, &pause_, &resume_, &stop_}) button->set_active(true);
}

void CMainDlg::set_refresh_active(bool active) {
  EnableWindow(refresh_.hwnd(), active);
  refresh_.set_active(active);
}

bool CMainDlg::on_command(int id, int) {
  switch (id) {
    case IDC_MAIN_CLOSE: shut_down(kExitByCloseButton); return true;
    case IDC_MAIN_MINIMISE: ShowWindow(hwnd(), SW_MINIMIZE); return true;
    case IDC_MAIN_MENU: on_menu(); return true;
    case IDC_MAIN_HOME: ui::open_web_page(ui::kProductPage); return true;
    case IDC_MAIN_HELP: ui::open_web_page(ui::kSupportPage); return true;
    case IDC_MAIN_BACK: on_back(); return true;
    case IDC_MAIN_REFRESH: on_refresh(); return true;
    default: return false;
  }
}

INT_PTR CMainDlg::on_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_SHOWWINDOW: shown_ = shown_ || wparam; handled = false; return 0;
    case WM_CLOSE: shut_down(kExitByCloseRequest); return 0;
    case WM_DEVICECHANGE: return TRUE;
    case WM_TIMER: on_timer(wparam); return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == IDC_MAIN_TREE && header->code == TVN_SELCHANGEDW)
        views_.on_selection(reinterpret_cast<const NMTREEVIEWW*>(lparam)->itemNew.hItem);
      handled = false;
      return 0;
    }
    default: break;
  }
  if (message == WM_PULL_DONE) on_pull_done(static_cast<int>(wparam));
  else if (message == WM_LOAD_PROGRESS) on_load_progress(wparam, lparam);
  else if (message == WM_RECORDS_LOADED) on_records_loaded();
  else if (message == WM_UPDATE_AVAILABLE) ui::show_update_notice(hwnd(), lparam);
  else handled = false;
  return handled ? 1 : 0;
}

void CMainDlg::on_timer(UINT_PTR timer) {
  KillTimer(hwnd(), timer);
  if (timer == kSmokeTimer) {
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
  } else if (timer == kUpdateTimer) {
    ui::start_auto_update_check(hwnd());
  } else if (timer == kAnimationTimer && animation_.running) {
    int delay = animation_.step();
    InvalidateRect(hwnd(), &kStatusArea, FALSE);
    SetTimer(hwnd(), kAnimationTimer, delay, nullptr);
  }
}

void CMainDlg::stop_animation() {
  KillTimer(hwnd(), kAnimationTimer);
  animation_.running = false;
  animation_.rewind();
}

void CMainDlg::start_pull() {
  device::AdbClient client = options_.adb ? *options_.adb : device::default_adb_client();
  // Not joined: a pull still running at close ends with the process.
  std::thread([sink = WindowSink(hwnd()), client, paths = workspace_->databases]() mutable {
    device::pull_thread(sink, client, paths);
  }).detach();
}

void CMainDlg::start_load() {
  loading_ = true;
  records_ = std::make_shared<Records>();
  auto job = std::make_shared<RecordLoadJob>();
  job->contacts_db_path = workspace_->databases.contacts_db_path;
  job->contacts_bak_path = workspace_->databases.contacts_bak_path;
  job->messages_db_path = workspace_->databases.messages_db_path;
  job->messages_bak_path = workspace_->databases.messages_bak_path;
  job->contacts = &records_->contacts;
  job->conversations = &records_->conversations;
  // The thread shares the tables, so a close while it runs frees nothing it uses.
  std::thread([job, records = records_, sink = WindowSink(hwnd())]() mutable {
    job->sink = &sink;
    load_records_thread(*job);
  }).detach();
}

void CMainDlg::on_pull_done(int result) {
  stop_animation();
  device_state_ = result;
  if (result != 1) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    set_refresh_active(true);
    return;
  }
  views_.insert_phone_items();
  page_ = MainPage::DataPage;
  show_control(IDC_MAIN_PROGRESS, true);
  show_control(IDC_MAIN_REFRESH, false);
  show_control(IDC_MAIN_BACK, false);
  show_control(IDC_MAIN_HELP_LINK, false);
  InvalidateRect(hwnd(), nullptr, FALSE);
  start_load();
}

void CMainDlg::on_load_progress(WPARAM step, LPARAM steps) const {
  if (steps == 0) return;
  auto position = static_cast<unsigned>(step) * 100u / static_cast<unsigned>(steps);
  SendDlgItemMessageW(hwnd(), IDC_MAIN_PROGRESS, PBM_SETPOS, position, 0);
}

void CMainDlg::on_records_loaded() {
  loading_ = false;
  show_control(IDC_MAIN_PROGRESS, true);
  SendDlgItemMessageW(hwnd(), IDC_MAIN_PROGRESS, PBM_SETPOS, 1, 0);
  show_tool_bar(true);
  views_.finish_loading(records_ ? records_->contacts.size() : 0, records_ ? records_->conversations.size() : 0);
  // The storage enumeration and the disk scan start here once the disk side is wired.
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CMainDlg::on_refresh() {
  show_control(IDC_MAIN_HELP_LINK, true);
  set_refresh_active(false);
  animation_.running = false;
  device_state_ = -1;
  InvalidateRect(hwnd(), nullptr, FALSE);
  start_pull();
}

void CMainDlg::free_records() {
  // A loader still running (a close while loading) keeps its tables alive
  // and fills the lists last: leave them to it.
  if (!loading_) {
    contact_list().clear();
    conversation_list().clear();
  }
  records_.reset();
}

void CMainDlg::on_back() {
  ui::CMsgBox box;
  if (box.show(ui::MsgBoxIcon::Warning, ui::MsgBoxButtons::Yes | ui::MsgBoxButtons::No, kBackQuestion, hwnd()) !=
      ui::MsgBoxResult::Yes)
    return;
  views_.clear();
  free_records();
  show_control(IDC_MAIN_REFRESH, true);
  show_tool_bar(false);
  show_control(IDC_MAIN_HELP_LINK, true);
  show_control(IDC_MAIN_PROGRESS, false);
  SendDlgItemMessageW(hwnd(), IDC_MAIN_PROGRESS, PBM_SETPOS, 0, 0);
  page_ = MainPage::ConnectPage;
  device_state_ = -1;
  animation_.running = false;
  set_refresh_active(false);
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  delete_database_files(*workspace_);
  start_pull();
}

void CMainDlg::on_menu() {
  int command = ui::choose_from_main_menu(hwnd());
  ui::run_main_menu_command(hwnd(), command, [this] { shut_down(kExitByCloseRequest); });
}

void CMainDlg::shut_down(int exit_code) {
  if (!hwnd()) return;
  KillTimer(hwnd(), kAnimationTimer);
  free_records();
  if (workspace_) delete_database_files(*workspace_);
  if (options_.adb) device::adb_kill_server(*options_.adb); else device::adb_kill_server();
  if (MessageLoop* loop = app_module().message_loop()) loop->remove_message_filter(this);
  DestroyWindow(hwnd());
  if (options_.smoke_test && !shown_) exit_code = 4;
  PostQuitMessage(exit_code);
}

}  // namespace qf::app
