#include "app/process_entry_win32.h"

#include <objbase.h>

#include <optional>

#include "app/app_module_win32.h"
#include "ui/control_classes_win32.h"
#include "ui/gdiplus_win32.h"
#include "ui/skin_folder_win32.h"

namespace qf::app {

int run_process_entry(HINSTANCE instance, int show_command, const TopWindowFactory& make_window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ui::register_control_classes();
  AppModule& module = app_module();
  int exit_code = 0;
  std::optional<Workspace> workspace;
  {
    // Without the module pictures do not draw, but the window still comes up.
    std::optional<ui::GdiplusSession> gdiplus;
    if (module.init(instance)) gdiplus.emplace();
    ui::set_skin_folder(ui::skin_folder_for_module());
    MessageLoop loop;
    module.add_message_loop(&loop);

    std::unique_ptr<TopWindow> window = make_window();
    if (window && window->create()) {
      window->show(show_command);
      exit_code = loop.run();
      workspace = window->workspace();
    }
    module.remove_message_loop();
    window.reset();
    module.term();
  }
  CoUninitialize();
  if (workspace) remove_picture_folder(*workspace);
  return exit_code;
}

}  // namespace qf::app
