#include <sys/stat.h>

#include <filesystem>

#include "platform/volume_identity.h"

namespace qf {

std::string volume_identity(const std::string& path) {
  // A folder that does not exist yet will live on its nearest existing parent's volume.
  std::filesystem::path p = std::filesystem::u8path(path);
  for (;;) {
    struct stat st {};
    if (::stat(p.c_str(), &st) == 0) return std::to_string(static_cast<unsigned long long>(st.st_dev));
    if (!p.has_parent_path() || p.parent_path() == p) return {};
    p = p.parent_path();
  }
}

}  // namespace qf
