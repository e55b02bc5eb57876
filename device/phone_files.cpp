#include "device/phone_files.h"

namespace qf::device {

namespace {

// A rollback -journal kept after its commit (journal_mode PERSIST) holds
// the pages as they were before the last deletions.
constexpr const char* kSideSuffixes[] = {"", "-shm", "-wal", "-journal"};

std::vector<PhoneFile> with_side_files(const std::string& remote, const std::string& local) {
  std::vector<PhoneFile> files;
  for (const char* suffix : kSideSuffixes) files.push_back({remote + suffix, local + suffix});
  return files;
}

}  // namespace

std::vector<PhoneFile> contacts_phone_files(const DatabasePaths& paths) {
  return with_side_files(std::string(kContactsRemoteDir) + "contacts2.db", paths.contacts_db_path);
}

std::vector<PhoneFile> messages_phone_files(const DatabasePaths& paths, const char* remote_dir) {
  return with_side_files(std::string(remote_dir) + "mmssms.db", paths.messages_db_path);
}

std::vector<std::string> local_database_files(const DatabasePaths& paths) {
  std::vector<std::string> files;
  for (const std::string& db : {paths.contacts_db_path, paths.messages_db_path}) {
    for (const char* suffix : kSideSuffixes) files.push_back(db + suffix);
  }
  files.push_back(paths.contacts_bak_path);
  files.push_back(paths.messages_bak_path);
  return files;
}

}  // namespace qf::device
