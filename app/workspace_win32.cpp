#include "app/workspace_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/utf_win32.h"

namespace qf::app {

std::wstring system_temp_path() {
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

namespace {

void build_paths(Workspace& w) {
  w.contacts_dir = w.temp_path + L"Tarnwick";
  w.picture_dir = w.contacts_dir + L"\\picture\\";
  w.contacts_bak_dir = w.contacts_dir + L"\\bak";
  w.contacts_db = w.contacts_dir + L"\\contacts2.db";
  w.contacts_shm = w.contacts_db + L"-shm";
  w.contacts_wal = w.contacts_db + L"-wal";
  w.contacts_bak = w.contacts_bak_dir + L"\\contacts2.db";
  w.messages_dir = w.temp_path + L"tarnwick-recovery-for-android";
  w.messages_bak_dir = w.messages_dir + L"\\bak";
  w.messages_db = w.messages_dir + L"\\mmssms.db";
  w.messages_shm = w.messages_db + L"-shm";
  w.messages_wal = w.messages_db + L"-wal";
  w.messages_bak = w.messages_bak_dir + L"\\mmssms.db";
  w.databases = {narrow(w.contacts_db), narrow(w.contacts_bak), narrow(w.messages_db),
                 narrow(w.messages_bak)};
}

}  // namespace

Workspace set_up_workspace(const std::wstring& temp_path) {
  Workspace w;
  w.temp_path = temp_path;
  if (!w.temp_path.empty() && w.temp_path.back() != L'\\') w.temp_path += L'\\';
  build_paths(w);
  for (const std::wstring* dir : {&w.contacts_dir, &w.picture_dir, &w.contacts_bak_dir,
                                  &w.messages_dir, &w.messages_bak_dir}) {
    CreateDirectoryW(dir->c_str(), nullptr);
  }
  delete_database_files(w);
  return w;
}

Workspace set_up_workspace() { return set_up_workspace(system_temp_path()); }

void delete_database_files(const Workspace& workspace) {
  for (const std::string& file : device::local_database_files(workspace.databases)) {
    DeleteFileW(widen(file).c_str());
  }
}

void remove_picture_folder(const Workspace& workspace) {
  std::wstring folder = workspace.picture_dir;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  if (folder.empty()) return;
  folder.push_back(L'\0');  // the shell takes a list ended by an empty name
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = folder.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationW(&op);
}

}  // namespace qf::app
