#pragma once
// Stand-in for the main window until it exists: it runs the main window's
// start and close steps (workspace, device pull, database clean-up, ADB
// server stop) and shows the device state as text. With `smoke_test` it
// closes itself once it has been shown and ends with 0 only when creation,
// showing and closing happened in that order (4: closed before shown).
#include <windows.h>

#include "app/message_loop_win32.h"
#include "app/process_entry_win32.h"

namespace qf::app {

class PlaceholderWindow final : public TopWindow, public MessageFilter {
 public:
  // `created` (may be null) is set once the window exists.
  PlaceholderWindow(bool smoke_test, bool* created) : smoke_test_(smoke_test), created_(created) {}
  ~PlaceholderWindow() override;

  bool create() override;
  void show(int show_command) override;
  std::optional<Workspace> workspace() const override { return workspace_; }
  bool pre_translate_message(MSG& message) override;

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
  void on_init();
  void on_pull_done(WPARAM result);
  void shut_down(int exit_code);

  bool smoke_test_;
  bool* created_;
  bool shown_ = false;
  HWND window_ = nullptr;
  std::optional<Workspace> workspace_;
};

}  // namespace qf::app
