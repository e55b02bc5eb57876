#include "records/serial_type.h"

namespace qf {

bool read_varint(const std::uint8_t* p, std::size_t available, std::uint64_t& value, int& bytes_used) {
  // Record-format varint: up to eight bytes of seven bits each (top bit set
  // means "more follows"), then a ninth byte that gives all eight bits.
  value = 0;
  for (int i = 0; i < 9; ++i) {
    if (static_cast<std::size_t>(i) >= available) return false;
    const std::uint8_t byte = p[i];
    if (i == 8) {
      value = (value << 8) | byte;
    } else {
      value = (value << 7) | (byte & 0x7F);
    }
    if (i == 8 || (byte & 0x80) == 0) {
      bytes_used = i + 1;
      return true;
    }
  }
  return false;  // not reached: the loop returns at i == 8
}

bool read_serial_type(const std::uint8_t* p, std::size_t available, SerialType& out) {
  std::uint64_t value = 0;
  if (!read_varint(p, available, value, out.bytes_used)) return false;
  out.type = value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
  return true;
}

std::uint64_t serial_content_length(std::uint32_t type) {
  static constexpr std::uint8_t kFixed[12] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0};
  if (type < 12) return kFixed[type];
  return (std::uint64_t{type} - 12 - (type & 1)) / 2;
}

bool read_serial_integer(std::uint32_t type, const std::uint8_t* content, std::int64_t& value) {
  switch (type) {
    case 0: case 8: case 10: case 11: value = 0; return true;
    case 9: value = 1; return true;
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: break;
    default: return false;
  }
  const std::uint64_t length = serial_content_length(type);
  // Sign-extend from the first byte: the integers are two's complement.
  std::uint64_t bits = (content[0] & 0x80) ? ~std::uint64_t{0} : 0;
  for (std::uint64_t i = 0; i < length; ++i) bits = (bits << 8) | content[i];
  value = static_cast<std::int64_t>(bits);
  return true;
}

}  // namespace qf
