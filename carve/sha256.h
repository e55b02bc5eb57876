#pragma once
// SHA-256 (FIPS 180-4), for the manifest of recovered files: lets a user
// check each carved file against the original.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qf {

class Sha256 {
 public:
  Sha256();
  void update(const void* data, std::size_t length);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string hex_digest();

 private:
  void compress(const unsigned char* block);
  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> pending_{};
  std::size_t pending_length_ = 0;
  std::uint64_t total_length_ = 0;
};

// Digest of a whole file (UTF-8 path); empty when it cannot be read.
std::string sha256_of_file(const std::string& path);

}  // namespace qf
