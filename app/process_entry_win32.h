#pragma once
// The life of the process around its main window: what is set up before the
// window exists, the message loop, and what is torn down after it ends.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "app/workspace_win32.h"

namespace qf::app {

// What the process entry needs of its main window.
class TopWindow {
 public:
  virtual ~TopWindow() = default;
  // Creates the window (a modeless dialog); false when that failed.
  virtual bool create() = 0;
  virtual void show(int show_command) = 0;
  // The work folders the window set up, if it got that far.
  virtual std::optional<Workspace> workspace() const = 0;
};

using TopWindowFactory = std::function<std::unique_ptr<TopWindow>()>;

// COM (apartment), the common-control classes (ui::register_control_classes), the windowing module and
// then GDI+, the skin folder and the message loop; the window; the loop;
// then everything undone in reverse and the picture folder removed. Returns
// the loop's exit code, 0 when the window could not be created.
int run_process_entry(HINSTANCE instance, int show_command, const TopWindowFactory& make_window);

}  // namespace qf::app
