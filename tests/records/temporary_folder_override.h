#pragma once
// Points the temporary folder at another path while the object lives (every
// name the platforms read it from: TMPDIR, TMP, TEMP), then restores it. A
// path that is not a folder makes every temporary copy fail, as a full or
// missing temporary folder does.
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qf::test {

class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::string& path) {
    for (const char* name : kNames) {
      const char* old = std::getenv(name);
      saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      set(name, path.c_str());
    }
  }
  ~TemporaryFolderOverride() {
    for (const auto& [name, value] : saved_) set(name.c_str(), value ? value->c_str() : nullptr);
  }

 private:
  static void set(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value) setenv(name, value, 1); else unsetenv(name);
#endif
  }
  static constexpr const char* kNames[] = {"TMPDIR", "TMP", "TEMP"};
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace qf::test
