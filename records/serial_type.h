#pragma once
// The record format's serial types: one varint per column in a record header,
// telling the kind of the column's value and the length of its content.
//
//   0          NULL, no content
//   1..4       big-endian integer of 1..4 bytes
//   5, 6       big-endian integer of 6, 8 bytes
//   7          8-byte float (read here as its big-endian integer bits)
//   8, 9       the constants 0 and 1, no content
//   10, 11     reserved, no content (read as 0)
//   12         empty blob
//   N>=13 odd  text of (N-13)/2 bytes
//   N>=14 even blob of (N-12)/2 bytes
#include <cstddef>
#include <cstdint>

namespace qf {

// A serial type read from a record header, and the header bytes it took.
struct SerialType {
  std::uint32_t type = 0;
  int bytes_used = 0;
};

// Reads the record-format varint at `p` (1 to 9 bytes, 64 bits), of which
// `available` bytes may be read. False when it runs past `available`.
bool read_varint(const std::uint8_t* p, std::size_t available, std::uint64_t& value, int& bytes_used);

// Reads the varint at `p`, of which `available` bytes may be read. A value
// that does not fit in 32 bits becomes 0xFFFFFFFF (an odd type with an
// enormous length). Returns false when the varint runs past `available`.
bool read_serial_type(const std::uint8_t* p, std::size_t available, SerialType& out);

// Content length in bytes; 64-bit so that no type can wrap an offset sum.
std::uint64_t serial_content_length(std::uint32_t type);

// 1..11: an integer, a float or a constant.
inline bool serial_type_is_number(std::uint32_t type) { return type >= 1 && type <= 11; }
// Odd and at least 13.
inline bool serial_type_is_text(std::uint32_t type) { return type >= 13 && (type & 1) != 0; }
// 12 and above: text or blob.
inline bool serial_type_is_text_or_blob(std::uint32_t type) { return type >= 12; }

// The value of a NULL or number column as a 64-bit integer (NULL reads as 0).
// `content` holds exactly serial_content_length(type) bytes. Returns false
// for text and blob types, which have no numeric value.
bool read_serial_integer(std::uint32_t type, const std::uint8_t* content, std::int64_t& value);

}  // namespace qf
