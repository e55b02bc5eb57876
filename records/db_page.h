#pragma once
// Byte layout of the SQLite database file as the raw scan reads it. Every
// multi-byte number in the file is big-endian.
//
// File header (page 1 only):
//   offset 16, 2 bytes  page size (the stored value 1 means 65536)
//   offset 32, 4 bytes  first freelist trunk page (0 = none)
//
// B-tree page header, at the start of every b-tree page but page 1:
//   offset 0, 1 byte    page type: 5 interior table, 13 leaf table
//   offset 1, 2 bytes   first freeblock (0 = none)
//   offset 3, 2 bytes   cell count
//   offset 5, 2 bytes   cell content start
//   offset 8, 4 bytes   right-most child page (interior pages only)
// The header is 12 bytes on interior pages and 8 on leaf pages; the cell
// pointer array (2 bytes per cell, offsets from the page start) follows it.
//
// Freeblock, inside a page:
//   offset 0, 2 bytes   next freeblock (0 = last)
//   offset 2, 2 bytes   size of this freeblock, these 4 bytes included
//
// Interior table cell: offset 0, 4 bytes: left child page number.
#include <cstddef>
#include <cstdint>

namespace qf::db_page {

constexpr std::uint64_t kPageSizeOffset = 16;
constexpr std::uint32_t kFileHeaderSize = 100;
constexpr std::uint8_t kInteriorTable = 5;
constexpr std::uint8_t kLeafTable = 13;
constexpr std::uint32_t kFirstFreeblock = 1;
constexpr std::uint32_t kCellCount = 3;
constexpr std::uint32_t kCellContentStart = 5;
constexpr std::uint32_t kRightMostChild = 8;
constexpr std::uint32_t kInteriorHeaderSize = 12;
constexpr std::uint32_t kLeafHeaderSize = 8;
constexpr std::uint32_t kFreeblockHeaderSize = 4;
// SQLite never writes pages smaller than this.
constexpr std::uint32_t kMinPageSize = 512;
// The page size field is 16 bits: pages of 65536 bytes store the value 1.
constexpr std::uint32_t kPageSizeField64K = 1;
constexpr std::uint32_t kMaxPageSize = 65536;

// The cell content start of a page: 0 stands for 65536 (an empty page of
// the largest size).
inline std::uint32_t cell_content_start(std::uint32_t stored) { return stored == 0 ? kMaxPageSize : stored; }

inline std::uint32_t be16(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 8) | p[1];
}

inline std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
         (std::uint32_t{p[2]} << 8) | p[3];
}

}  // namespace qf::db_page
