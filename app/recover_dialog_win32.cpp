#include "app/recover_dialog_win32.h"

#include <commctrl.h>

#include <thread>

#include "app/recover_resource.h"
#include "platform/app_messages.h"
#include "platform/utf_win32.h"
#include "platform/version.h"
#include "platform/window_sink_win32.h"
#include "ui/font_pool_win32.h"
#include "ui/memory_canvas_win32.h"
#include "ui/skin_folder_win32.h"

namespace qf::app {

using ui::RecoverRun;
using ui::RecoverRunState;

DhRecoverProgressDialog::DhRecoverProgressDialog(ui::recover_plan plan)
    : state_(std::make_shared<State>()), background_(L"progressbg.png") {
  state_->plan = std::move(plan);
}

DhRecoverProgressDialog::~DhRecoverProgressDialog() = default;

INT_PTR DhRecoverProgressDialog::run(HWND owner) { return run_modal(IDD_RECOVER_PROGRESS, owner); }

BOOL DhRecoverProgressDialog::on_init() {
  SetWindowTextW(hwnd(), L"" QF_PRODUCT_NAME);
  size_to_background(background_.width(), background_.height());
  set_static_text_colour(RGB(255, 0, 0));
  SetWindowPos(GetDlgItem(hwnd(), IDC_RECOVER_TEXT), nullptr, 20, 130, 330, 30, SWP_NOZORDER | SWP_SHOWWINDOW);
  HWND bar = GetDlgItem(hwnd(), IDC_RECOVER_BAR);
  SendMessageW(bar, PBM_SETRANGE32, 0, 100);
  SendMessageW(bar, PBM_SETPOS, 0, 0);
  SetWindowPos(bar, nullptr, 20, 160, 330, 20, SWP_NOZORDER | SWP_SHOWWINDOW);
  SetWindowPos(GetDlgItem(hwnd(), IDC_RECOVER_FINISHED), nullptr, 20, 190, 330, 30, SWP_NOZORDER | SWP_HIDEWINDOW);
  title_close_.attach(GetDlgItem(hwnd(), IDC_RECOVER_TITLE_CLOSE), ui::skin_path(L"close.png"), -5, 5, 4);
  stop_.attach(GetDlgItem(hwnd(), IDC_RECOVER_STOP), ui::skin_path(L"stop.png"), 205, 200, 4);
  close_.attach(GetDlgItem(hwnd(), IDC_RECOVER_CLOSE), ui::skin_path(L"close_dlg.png"), 287, 200, 4);
  for (ui::CImgButton* b : {&title_close_, &stop_, &close_}) add_image_button(b);

  // The timer belongs to this thread; the worker only posts its end.
  SetTimer(hwnd(), kProgressTimer, kProgressPeriod, nullptr);
  ui::wire_recover_stop_probe();
  RecoverRunState = RecoverRun::Running;  // a Close before the worker's first step still stops it
  std::thread([state = state_, sink = WindowSink(hwnd())]() mutable {
    ui::run_recover(state->plan, state->progress, &sink);
  }).detach();
  return TRUE;
}

void DhRecoverProgressDialog::paint_body(HDC dc, int width, int height) {
  background_.draw_scaled(dc, RECT{0, 0, width, height});
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  ui::SelectGuard font(dc, ui::TkFontPool::instance().get(0));
  static constexpr wchar_t kTitle[] = L"" QF_PRODUCT_NAME;
  TextOutW(dc, 40, 7, kTitle, static_cast<int>(std::size(kTitle) - 1));
}

void DhRecoverProgressDialog::update_progress() {
  const ui::recover_progress& p = state_->progress;
  const auto done = static_cast<std::int64_t>(p.done.load());
  const std::int64_t total = p.total;
  HWND text = GetDlgItem(hwnd(), IDC_RECOVER_TEXT);
  SetWindowTextW(text, widen(ui::recover_progress_text(done, total, p.label())).c_str());
  // The text is transparent: repaint the background under it.
  RECT r{};
  GetWindowRect(text, &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  InvalidateRect(hwnd(), &r, TRUE);
  SendDlgItemMessageW(hwnd(), IDC_RECOVER_BAR, PBM_SETPOS, ui::recover_bar_position(done, total), 0);
}

void DhRecoverProgressDialog::deactivate(ui::CImgButton& button) {
  button.set_active(false);
  InvalidateRect(button.hwnd(), nullptr, FALSE);
  EnableWindow(button.hwnd(), FALSE);
}

void DhRecoverProgressDialog::request_stop() {
  RecoverRunState = RecoverRun::StopRequested;
  deactivate(stop_);
}

void DhRecoverProgressDialog::request_close() {
  for (ui::CImgButton* b : {&title_close_, &stop_, &close_}) deactivate(*b);
  close_when_finished_ = true;
  if (RecoverRunState == RecoverRun::Finished) {
    PostMessageW(hwnd(), WM_RECOVER_FINISHED, static_cast<WPARAM>(RecoverRun::Finished), 0);
  } else {
    RecoverRunState = RecoverRun::StopRequested;  // the worker ends at its next check and posts its end
  }
}

void DhRecoverProgressDialog::on_finished() {
  KillTimer(hwnd(), kProgressTimer);
  update_progress();
  ShowWindow(GetDlgItem(hwnd(), IDC_RECOVER_FINISHED), SW_SHOW);
  deactivate(stop_);
  RecoverRunState = RecoverRun::Finished;
  if (close_when_finished_) end(0);
}

bool DhRecoverProgressDialog::on_command(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_RECOVER_STOP: request_stop(); return true;
    case IDC_RECOVER_CLOSE:
    case IDC_RECOVER_TITLE_CLOSE: request_close(); return true;
    default: return false;
  }
}

INT_PTR DhRecoverProgressDialog::on_message(UINT message, WPARAM wparam, LPARAM, bool& handled) {
  handled = true;
  if (message == WM_TIMER && wparam == kProgressTimer) {
    update_progress();
  } else if (message == WM_RECOVER_FINISHED) {
    if (wparam == static_cast<WPARAM>(RecoverRun::Finished)) on_finished();
  } else if (message == WM_CLOSE) {
    request_close();
  } else {
    handled = false;
  }
  return 0;
}

}  // namespace qf::app
