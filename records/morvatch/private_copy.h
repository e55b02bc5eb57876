#pragma once
// A private copy of a database file and its -wal, in a fresh folder of its
// own under the temporary directory, removed with the object.
//
// Why: even a read-only SQLite connection changes the files of a database in
// WAL mode - it creates or rewrites the -shm index beside it, and a missing
// -wal may be created - and with a read-only -shm index it cannot read a
// database whose -shm is missing. Reading a copy leaves the given files
// untouched. The -shm is not copied: it only caches the -wal's frame index,
// which SQLite rebuilds from the -wal itself.
#include <filesystem>
#include <string>

namespace qf::morvatch {

class PrivateCopy {
 public:
  PrivateCopy() = default;
  ~PrivateCopy();
  PrivateCopy(const PrivateCopy&) = delete;
  PrivateCopy& operator=(const PrivateCopy&) = delete;

  // Copies `utf8_path` (a regular file) and its "-wal" when there is one.
  // False when the source is missing or not a regular file, or a copy fails.
  bool make(const std::string& utf8_path);
  // UTF-8 path of the copied database file.
  std::string path() const { return file_.u8string(); }

 private:
  std::filesystem::path folder_;
  std::filesystem::path file_;
};

}  // namespace qf::morvatch
