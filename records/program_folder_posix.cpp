#include "records/program_folder.h"

#include <filesystem>
#include <system_error>

namespace qf {

std::string program_folder() {
  // Linux names the running executable through /proc/self/exe.
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::string();
  return exe.parent_path().string();
}

}  // namespace qf
