#include "app/message_loop_win32.h"

#include <algorithm>

namespace qf::app {

namespace {

template <typename T>
void remove_from(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

void MessageLoop::add_message_filter(MessageFilter* filter) { filters_.push_back(filter); }
void MessageLoop::remove_message_filter(MessageFilter* filter) { remove_from(filters_, filter); }
void MessageLoop::add_idle_handler(IdleHandler* handler) { idle_handlers_.push_back(handler); }
void MessageLoop::remove_idle_handler(IdleHandler* handler) { remove_from(idle_handlers_, handler); }

bool MessageLoop::filter(MSG& message) {
  // Latest registered first: a dialog opened over the main window sees its
  // keys before the main window does. A copy, as a filter may unregister.
  std::vector<MessageFilter*> filters(filters_.rbegin(), filters_.rend());
  for (MessageFilter* f : filters) {
    if (f->pre_translate_message(message)) return true;
  }
  return false;
}

void MessageLoop::run_idle_handlers() {
  std::vector<IdleHandler*> handlers = idle_handlers_;
  for (IdleHandler* h : handlers) h->on_idle();
}

int MessageLoop::run() {
  MSG message{};
  for (;;) {
    while (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      run_idle_handlers();
      // Sleeps until a message arrives; idle runs once per empty queue.
      if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
    }
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) return 0;
    if (got == 0) break;
    if (filter(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace qf::app
