#pragma once
// CRC-32 (the polynomial of PNG, ZIP and Ogg's sibling formats: reflected
// 0xEDB88320), for checking a chunk against the checksum stored with it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qf {

inline std::uint32_t crc32(const unsigned char* data, std::size_t length, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace qf
