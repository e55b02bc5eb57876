#pragma once
// The windowing module: the program's instance, the message loop of each
// user-interface thread (windows find their loop here to register filters and
// idle handlers), and the skin folder every picture is loaded from.
#include <windows.h>

#include <map>
#include <string>

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

// The folder "image" beside the executable, with its trailing backslash;
// computed once by init_skin_folder() and kept for the life of the process.
void init_skin_folder();
const std::wstring& skin_folder();

}  // namespace qf::app
