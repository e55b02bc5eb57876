#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <random>
#include <system_error>

namespace qf::test {

namespace {
std::string unique_suffix() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  return std::to_string(rd()) + "-" + std::to_string(counter++);
}
}  // namespace

TempDir::TempDir(const std::string& prefix) {
  for (;;) {
    std::filesystem::path candidate =
        std::filesystem::temp_directory_path() / (prefix + "-" + unique_suffix());
    std::error_code ec;
    if (std::filesystem::create_directories(candidate, ec)) {
      path_ = candidate;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
  auto p = path_ / std::filesystem::u8path(name);
  return p.u8string();
}

}  // namespace qf::test
