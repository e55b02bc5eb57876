#pragma once
// The user-interface thread's message loop. Windows register a message filter
// (a modeless dialog's IsDialogMessage) and idle handlers with the loop of
// their thread; the loop gives every message to the filters first and runs the
// idle handlers whenever the queue is empty.
#include <windows.h>

#include <vector>

namespace qf::app {

class MessageFilter {
 public:
  virtual ~MessageFilter() = default;
  // True when the message was handled and must not be dispatched.
  virtual bool pre_translate_message(MSG& message) = 0;
};

class IdleHandler {
 public:
  virtual ~IdleHandler() = default;
  virtual void on_idle() = 0;
};

class MessageLoop {
 public:
  void add_message_filter(MessageFilter* filter);
  void remove_message_filter(MessageFilter* filter);
  void add_idle_handler(IdleHandler* handler);
  void remove_idle_handler(IdleHandler* handler);

  // Fetches, filters, translates and dispatches until the quit message;
  // returns its parameter as the exit code.
  int run();

 private:
  bool filter(MSG& message);
  void run_idle_handlers();

  std::vector<MessageFilter*> filters_;
  std::vector<IdleHandler*> idle_handlers_;
};

}  // namespace qf::app
