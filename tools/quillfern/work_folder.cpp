#include "tools/quillfern/work_folder.h"

#include <random>
#include <string>
#include <system_error>

namespace qf::cli {

namespace fs = std::filesystem;

bool WorkFolder::make(const char* prefix) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return false;
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
    const fs::path candidate = base / (prefix + std::to_string(random()));
    if (fs::create_directory(candidate, ec) && !ec) path_ = candidate;
  }
  if (path_.empty()) return false;
  fs::permissions(path_, fs::perms::owner_all, ec);
  return true;
}

WorkFolder::~WorkFolder() {
  std::error_code ec;
  if (!path_.empty() && !keep_) fs::remove_all(path_, ec);
}

}  // namespace qf::cli
