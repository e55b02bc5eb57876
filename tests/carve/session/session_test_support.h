#pragma once
// Disk images for session tests: zero-filled, with real files placed at
// sector-aligned offsets.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/carve/carve_test_files.h"
#include "tests/support/test_paths.h"

namespace qf::test {

inline std::vector<unsigned char> session_fixture(const std::string& name) {
  return read_file(source_dir() + "/tests/carve/session/data/" + name);
}

struct placed_file {
  std::uint64_t offset;
  std::vector<unsigned char> bytes;
};

inline void write_image(const std::string& path, std::uint64_t size, const std::vector<placed_file>& files) {
  std::vector<unsigned char> image(size, 0);
  for (const auto& f : files) std::copy(f.bytes.begin(), f.bytes.end(), image.begin() + static_cast<long>(f.offset));
  write_file(path, image);
}

}  // namespace qf::test
