#include "ui/skin_folder_win32.h"

namespace qf::ui {
namespace {

std::wstring& folder_slot() {
  static std::wstring folder = skin_folder_for_module(nullptr);
  return folder;
}

}  // namespace

std::wstring skin_folder_for_module(HMODULE module) {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring folder(path, length);
  size_t slash = folder.find_last_of(L"\\/");
  folder.resize(slash == std::wstring::npos ? 0 : slash);
  return folder + L"\\image\\";
}

void set_skin_folder(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  folder_slot() = std::move(folder);
}

const std::wstring& skin_folder() { return folder_slot(); }

std::wstring skin_path(std::wstring_view name) { return skin_folder() + std::wstring(name); }

}  // namespace qf::ui
