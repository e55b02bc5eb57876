#pragma once
// The phone's database files that are pulled, and where each lands.
#include <string>
#include <vector>

namespace qf::device {

// The four local database paths (UTF-8) the workspace builds: the two pulled
// main files and their backup copies. The side files are the main files'
// names with "-shm" and "-wal" appended.
struct DatabasePaths {
  std::string contacts_db_path;
  std::string contacts_bak_path;
  std::string messages_db_path;
  std::string messages_bak_path;
};

struct PhoneFile {
  std::string remote;  // path on the phone
  std::string local;   // UTF-8 path on this computer
};

constexpr const char kContactsRemoteDir[] = "/data/data/com.android.providers.contacts/databases/";
constexpr const char kMessagesRemoteDir[] = "/data/data/com.android.providers.telephony/databases/";
// From Android 7 on the telephony provider keeps its databases in
// device-protected storage; the credential-protected /data/data path then
// holds no mmssms.db.
constexpr const char kMessagesUserDeRemoteDir[] =
    "/data/user_de/0/com.android.providers.telephony/databases/";

// The main file, then its -shm and -wal files, each remote beside its local.
std::vector<PhoneFile> contacts_phone_files(const DatabasePaths& paths);
std::vector<PhoneFile> messages_phone_files(const DatabasePaths& paths,
                                            const char* remote_dir = kMessagesRemoteDir);

// Every local file a run leaves: the two main files, their four side files and
// the two backups (what start and exit delete).
std::vector<std::string> local_database_files(const DatabasePaths& paths);

}  // namespace qf::device
