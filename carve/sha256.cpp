#include "carve/sha256.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace qf {

std::string sha256_hex(const unsigned char* digest) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex(64, '0');
  for (int i = 0; i < 32; ++i) {
    hex[2 * i] = kHex[digest[i] >> 4];
    hex[2 * i + 1] = kHex[digest[i] & 15];
  }
  return hex;
}

std::string sha256_of_file(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) return {};
  Sha256 hash;
  std::vector<char> buffer(1 << 16);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    hash.update(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  return hash.hex_digest();
}

}  // namespace qf
