#include "app/app_module_win32.h"

namespace qf::app {

namespace {

std::wstring g_skin_folder;

}  // namespace

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

void init_skin_folder() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n < MAX_PATH ? n : 0);
  folder.erase(folder.find_last_of(L'\\') + 1);  // npos + 1 == 0: nothing left
  g_skin_folder = folder + L"image\\";
}

const std::wstring& skin_folder() { return g_skin_folder; }

}  // namespace qf::app
