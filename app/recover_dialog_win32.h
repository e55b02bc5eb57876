#pragma once
// DhRecoverProgressDialog: the modal dialog of a recover run. It starts the
// worker on its own thread, shows "done/total (label)" and a bar on a 400 ms
// timer, and offers Stop (the worker stops at its next check, inside a file
// at the latest) and Close (stops a running run and closes once the worker
// has ended). The worker tells it the run is over with WM_RECOVER_FINISHED.
#include <windows.h>

#include <memory>

#include "ui/img_button_win32.h"
#include "ui/recover_worker.h"
#include "ui/skin_image_win32.h"
#include "ui/skinned_dialog_win32.h"

namespace qf::app {

class DhRecoverProgressDialog final : public ui::CSkinnedDialog {
 public:
  static constexpr UINT_PTR kProgressTimer = 0;
  static constexpr UINT kProgressPeriod = 400;

  explicit DhRecoverProgressDialog(ui::recover_plan plan);
  ~DhRecoverProgressDialog() override;

  // Runs the dialog and its worker; returns when the dialog has closed.
  INT_PTR run(HWND owner);

  // What the run wrote and what failed; complete once run() has returned.
  const ui::recover_progress& progress() const { return state_->progress; }

 protected:
  BOOL on_init() override;
  void paint_body(HDC dc, int width, int height) override;
  bool on_command(int id, int code) override;
  INT_PTR on_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  // Shared with the worker thread, which may still be returning from its
  // last post when the dialog is gone.
  struct State {
    ui::recover_plan plan;
    ui::recover_progress progress;
  };
  void update_progress();
  void request_stop();
  void request_close();
  void on_finished();
  void deactivate(ui::CImgButton& button);

  std::shared_ptr<State> state_;
  bool close_when_finished_ = false;
  ui::SkinImage background_;
  ui::CImgButton title_close_, stop_, close_;
};

}  // namespace qf::app
