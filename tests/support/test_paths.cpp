#include "tests/support/test_paths.h"

namespace qf::test {

std::string source_dir() { return QF_SOURCE_DIR; }
std::string binary_dir() { return QF_BINARY_DIR; }

std::string built_program(const std::string& relative_path_without_suffix) {
  std::string path = binary_dir() + "/" + relative_path_without_suffix;
#ifdef _WIN32
  path += ".exe";
#endif
  return path;
}

}  // namespace qf::test
