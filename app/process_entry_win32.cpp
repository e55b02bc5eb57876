#include "app/process_entry_win32.h"

#include <objbase.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "app/app_module_win32.h"

namespace qf::app {

namespace {

class GdiplusSession {
 public:
  void start() {
    Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

}  // namespace

int run_process_entry(HINSTANCE instance, int show_command, const TopWindowFactory& make_window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&controls);
  AppModule& module = app_module();
  int exit_code = 0;
  std::optional<Workspace> workspace;
  {
    // Without the module pictures do not draw, but the window still comes up.
    GdiplusSession gdiplus;
    if (module.init(instance)) gdiplus.start();
    init_skin_folder();
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
