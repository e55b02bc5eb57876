#include "app/app_module_win32.h"

namespace qf::app {

bool AppModule::init(HINSTANCE instance) {
  instance_ = instance;
  return instance_ != nullptr;
}

void AppModule::term() {
  loops_.clear();
  instance_ = nullptr;
}

void AppModule::add_message_loop(MessageLoop* loop) { loops_[GetCurrentThreadId()] = loop; }

void AppModule::remove_message_loop() { loops_.erase(GetCurrentThreadId()); }

MessageLoop* AppModule::message_loop() const {
  auto it = loops_.find(GetCurrentThreadId());
  return it == loops_.end() ? nullptr : it->second;
}

AppModule& app_module() {
  static AppModule module;
  return module;
}

}  // namespace qf::app
