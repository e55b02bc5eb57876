#pragma once
// The private work folder a command copies or pulls databases into: a fresh
// folder under the temporary folder, readable by its owner only (the
// databases hold private data), removed with everything in it when the
// command ends unless kept.
#include <filesystem>

namespace qf::cli {

class WorkFolder {
 public:
  WorkFolder() = default;
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  ~WorkFolder();

  // Creates "<temp>/<prefix><random>"; false when no such folder could be
  // made (after a few tries: a temporary folder that refuses them never
  // makes the command hang).
  bool make(const char* prefix);
  // Leaves the folder in place when the command ends.
  void keep() { keep_ = true; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool keep_ = false;
};

}  // namespace qf::cli
