#pragma once
// A fresh folder under the system's temporary directory, removed with its
// contents when the object goes. Paths are UTF-8.
#include <filesystem>
#include <string>

namespace qf::test {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "qf-test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // UTF-8 text of path() / name.
  std::string file(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace qf::test
