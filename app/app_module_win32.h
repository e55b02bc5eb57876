#pragma once
// The windowing module: the program's instance and the message loop of each
// user-interface thread (windows find their loop here to register filters and
// idle handlers). The skin folder is ui/skin_folder_win32.h's.
#include <windows.h>

#include <map>

#include "app/message_loop_win32.h"

namespace qf::app {

class AppModule {
 public:
  bool init(HINSTANCE instance);
  void term();
  HINSTANCE instance() const { return instance_; }

  // The calling thread's loop.
  void add_message_loop(MessageLoop* loop);
  void remove_message_loop();
  MessageLoop* message_loop() const;

 private:
  HINSTANCE instance_ = nullptr;
  std::map<DWORD, MessageLoop*> loops_;  // touched by the user-interface thread only
};

AppModule& app_module();

}  // namespace qf::app
