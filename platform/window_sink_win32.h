#pragma once
// MessageSink that posts to a window of the user-interface thread.
#include <windows.h>

#include "platform/message_sink.h"

namespace qf {

class WindowSink final : public MessageSink {
 public:
  explicit WindowSink(HWND window) : window_(window) {}
  void post(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override {
    PostMessageW(window_, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }

 private:
  HWND window_;
};

}  // namespace qf
