#include "records/morvatch/private_copy.h"

#include <random>
#include <system_error>

namespace qf::morvatch {

namespace fs = std::filesystem;

namespace {

// A folder nobody else uses: a random name, created exclusively (creation
// fails when the name exists, and another name is tried).
bool make_private_folder(fs::path& out) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return false;
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path candidate = base / ("morvatch-" + std::to_string(random()));
    if (fs::create_directory(candidate, ec) && !ec) {
      // The copy holds the user's messages: nobody else may read it.
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
      out = candidate;
      return true;
    }
  }
  return false;
}

bool copy_regular_file(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
}

}  // namespace

PrivateCopy::~PrivateCopy() {
  if (folder_.empty()) return;
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

bool PrivateCopy::make(const std::string& utf8_path) {
  const fs::path source = fs::u8path(utf8_path);
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return false;
  if (folder_.empty() && !make_private_folder(folder_)) return false;
  // SQLite finds the -wal by appending "-wal" to the database name, so the
  // copy keeps a plain name and its -wal keeps the matching one.
  file_ = folder_ / "copy.db";
  if (!copy_regular_file(source, file_)) return false;
  const fs::path wal = fs::u8path(utf8_path + "-wal");
  if (fs::is_regular_file(wal, ec)) return copy_regular_file(wal, folder_ / "copy.db-wal");
  return true;
}

}  // namespace qf::morvatch
