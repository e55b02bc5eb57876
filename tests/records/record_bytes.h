#pragma once
// Builds the bytes of freed records for decoder tests: serial types as
// varints followed by the column contents, exactly as the record format lays
// them out. Header-only: the test suite compiles only *_test.cpp files.
#include <cstdint>
#include <string>
#include <vector>

namespace qf::test {

struct Column {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> content;
};

inline Column null_column() { return {}; }

// An integer in exactly `width` bytes (1, 2, 3, 4, 6 or 8).
inline Column int_column_of_width(std::int64_t value, int width) {
  static const std::uint32_t types[9] = {0, 1, 2, 3, 4, 0, 5, 0, 6};
  Column c{types[width], {}};
  for (int i = width - 1; i >= 0; --i) c.content.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return c;
}

// As SQLite stores an integer: 0 and 1 as constants, otherwise the shortest
// of the 1, 2, 3, 4, 6 and 8-byte forms.
inline Column int_column(std::int64_t value) {
  if (value == 0) return {8, {}};
  if (value == 1) return {9, {}};
  static const int widths[] = {1, 2, 3, 4, 6, 8};
  for (int i = 0; i < 6; ++i) {
    const int bits = widths[i] * 8;
    if (bits == 64 || (value >= -(std::int64_t{1} << (bits - 1)) && value < (std::int64_t{1} << (bits - 1)))) {
      return int_column_of_width(value, widths[i]);
    }
  }
  return {};
}

inline Column text_column(const std::string& text) {
  return {static_cast<std::uint32_t>(13 + 2 * text.size()), {text.begin(), text.end()}};
}

inline Column blob_column(const std::vector<std::uint8_t>& bytes) {
  return {static_cast<std::uint32_t>(12 + 2 * bytes.size()), bytes};
}

inline void append_varint(std::vector<std::uint8_t>& out, std::uint64_t value) {
  std::uint8_t groups[10];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
}

// Serial types of `columns` from `first` on, then their contents.
inline std::vector<std::uint8_t> record_tail(const std::vector<Column>& columns, std::size_t first = 0) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = first; i < columns.size(); ++i) append_varint(out, columns[i].type);
  for (std::size_t i = first; i < columns.size(); ++i) {
    out.insert(out.end(), columns[i].content.begin(), columns[i].content.end());
  }
  return out;
}

inline std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace qf::test
