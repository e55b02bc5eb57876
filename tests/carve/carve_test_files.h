#pragma once
// Small helpers for carving tests: image files of known bytes.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace qf::test {

// Bytes that differ at every position, so a misplaced copy shows.
inline std::vector<unsigned char> patterned_bytes(std::size_t length, unsigned seed = 7) {
  std::vector<unsigned char> bytes(length);
  std::uint32_t x = seed * 2654435761u + 1;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<unsigned char>(x >> 16);
  }
  return bytes;
}

inline void write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<unsigned char> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace qf::test
