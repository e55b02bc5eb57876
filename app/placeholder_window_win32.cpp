#include "app/placeholder_window_win32.h"

#include <thread>

#include "app/app_module_win32.h"
#include "app/resource.h"
#include "device/pull_thread.h"
#include "platform/app_messages.h"
#include "platform/window_sink_win32.h"

namespace qf::app {

namespace {

constexpr UINT_PTR kSmokeTimer = 1;
constexpr int kCloseButton = 1000;

const wchar_t* device_text(WPARAM result) {
  switch (result) {
    case 1: return L"Phone ready: its databases were pulled.";
    case 2: return L"Phone unauthorized or offline: allow USB debugging on the phone.";
    default: return L"No phone found.";
  }
}

}  // namespace

PlaceholderWindow::~PlaceholderWindow() {
  if (window_) DestroyWindow(window_);
}

bool PlaceholderWindow::create() {
  window_ = CreateDialogParamW(app_module().instance(), MAKEINTRESOURCEW(IDD_PLACEHOLDER), nullptr,
                               dialog_proc, reinterpret_cast<LPARAM>(this));
  if (!window_) return false;
  if (created_) *created_ = true;
  if (MessageLoop* loop = app_module().message_loop()) loop->add_message_filter(this);
  return true;
}

void PlaceholderWindow::show(int show_command) { ShowWindow(window_, show_command); }

bool PlaceholderWindow::pre_translate_message(MSG& message) {
  return window_ && IsDialogMessageW(window_, &message);
}

INT_PTR CALLBACK PlaceholderWindow::dialog_proc(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lparam);
  auto* self = reinterpret_cast<PlaceholderWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) self->window_ = window;
  return self->handle(message, wparam, lparam);
}

INT_PTR PlaceholderWindow::handle(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      on_init();
      return TRUE;
    case WM_SHOWWINDOW:
      if (wparam) shown_ = true;
      return FALSE;
    case WM_TIMER:
      if (wparam == kSmokeTimer) {
        KillTimer(window_, kSmokeTimer);
        PostMessageW(window_, WM_CLOSE, 0, 0);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCloseButton) shut_down(kCloseButton);
      return TRUE;
    case WM_CLOSE:
      shut_down(0);
      return TRUE;
    default:
      if (message == WM_PULL_DONE) {
        on_pull_done(wparam);
        return TRUE;
      }
      return FALSE;
  }
}

void PlaceholderWindow::on_init() {
  workspace_ = set_up_workspace();
  SetDlgItemTextW(window_, IDC_PLACEHOLDER_TEXT, L"Looking for a phone...");
  // The pull ends with the process if it is still running then.
  std::thread([sink = WindowSink(window_), paths = workspace_->databases]() mutable {
    device::pull_thread(sink, device::default_adb_client(), paths);
  }).detach();
  if (smoke_test_) SetTimer(window_, kSmokeTimer, 200, nullptr);
}

void PlaceholderWindow::on_pull_done(WPARAM result) {
  SetDlgItemTextW(window_, IDC_PLACEHOLDER_TEXT, device_text(result));
}

void PlaceholderWindow::shut_down(int exit_code) {
  if (workspace_) delete_database_files(*workspace_);
  device::adb_kill_server();
  if (MessageLoop* loop = app_module().message_loop()) loop->remove_message_filter(this);
  DestroyWindow(window_);
  window_ = nullptr;
  if (smoke_test_ && !shown_) exit_code = 4;
  PostQuitMessage(exit_code);
}

}  // namespace qf::app
