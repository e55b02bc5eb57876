#pragma once
// The work folders and files in the user's temporary directory that the
// device pull and the record loader share. Built by plain concatenation, so a
// temporary path with spaces (a user name with spaces) works unchanged.
#include <string>

#include "device/phone_files.h"

namespace qf::app {

struct Workspace {
  std::wstring temp_path;  // T, ends with a backslash
  std::wstring contacts_dir, picture_dir, contacts_bak_dir;
  std::wstring contacts_db, contacts_shm, contacts_wal, contacts_bak;
  std::wstring messages_dir, messages_bak_dir;
  std::wstring messages_db, messages_shm, messages_wal, messages_bak;
  // UTF-8 copies of the four database paths, for the pull and the readers.
  device::DatabasePaths databases;
};

// The user's temporary directory as the system reports it (with its
// trailing backslash).
std::wstring system_temp_path();

// Builds the paths under `temp_path` (a trailing backslash is added when
// missing), creates the five folders (creation results are not checked: a
// present folder is fine, a missing one only means later pulls bring
// nothing) and deletes the database files an earlier run left.
Workspace set_up_workspace(const std::wstring& temp_path);
Workspace set_up_workspace();

// Deletes the two pulled databases, their -shm and -wal files (which hold the
// latest contacts and messages) and the two backups; a missing file is fine.
void delete_database_files(const Workspace& workspace);

// Removes the picture folder with everything in it through the shell's file
// operation: no confirmation, no progress, not to the recycle bin.
void remove_picture_folder(const Workspace& workspace);

}  // namespace qf::app
