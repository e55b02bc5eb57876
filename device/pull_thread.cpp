#include "device/pull_thread.h"

#include <filesystem>
#include <system_error>

#include "device/pull_file.h"
#include "platform/app_messages.h"

namespace qf::device {

namespace {

namespace fs = std::filesystem;

bool file_exists(const std::string& utf8_path) {
  std::error_code ec;
  return fs::is_regular_file(fs::u8path(utf8_path), ec);
}

void remove_files(const std::vector<PhoneFile>& files) {
  std::error_code ec;
  for (const PhoneFile& f : files) fs::remove(fs::u8path(f.local), ec);
}

bool stopped(const std::function<bool()>& stop) { return stop && stop(); }

void pull_all(const AdbClient& client, const std::vector<PhoneFile>& files,
              const std::function<bool()>& stop) {
  for (const PhoneFile& f : files) {
    if (stopped(stop)) return;
    pull_file(client, f.remote, f.local);
  }
}

// The backup is a plain copy made before any reader opens the database; a
// main file that did not arrive leaves no backup (nor an older one).
void copy_backup(const std::string& db, const std::string& backup) {
  std::error_code ec;
  // Removed first: the mingw runtime's copy_file does not replace a file.
  fs::remove(fs::u8path(backup), ec);
  if (file_exists(db)) fs::copy_file(fs::u8path(db), fs::u8path(backup), ec);
}

}  // namespace

void pull_phone_databases(const AdbClient& client, const DatabasePaths& paths,
                          const std::function<bool()>& stop) {
  const auto contacts = contacts_phone_files(paths);
  const auto messages = messages_phone_files(paths);
  remove_files(contacts);
  remove_files(messages);
  pull_all(client, contacts, stop);
  pull_all(client, messages, stop);
  if (!file_exists(paths.messages_db_path) && !stopped(stop)) {
    remove_files(messages);
    pull_all(client, messages_phone_files(paths, kMessagesUserDeRemoteDir), stop);
  }
  if (stopped(stop)) return;
  copy_backup(paths.contacts_db_path, paths.contacts_bak_path);
  copy_backup(paths.messages_db_path, paths.messages_bak_path);
}

int pull_thread(MessageSink& sink, const AdbClient& client, const DatabasePaths& paths) {
  const DeviceResult result = check_device(client);
  if (result == DeviceResult::ready) pull_phone_databases(client, paths);
  sink.post(WM_PULL_DONE, static_cast<std::uintptr_t>(result), 0);
  return 1;
}

}  // namespace qf::device
