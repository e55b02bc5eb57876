#pragma once
// Where tests find the source tree (fixtures, corpora) and the build tree
// (generated data, helper executables). Under Wine the Unix paths resolve
// through drive Z:.
#include <string>

namespace qf::test {

std::string source_dir();
std::string binary_dir();
// A helper executable built beside the tests ("phone-sim" gets ".exe" on Windows).
std::string built_program(const std::string& relative_path_without_suffix);

}  // namespace qf::test
