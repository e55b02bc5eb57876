#pragma once
// Hand-made database images for walker tests: pages laid out byte by byte,
// so that damaged shapes (cycles, pointers out of range, odd sizes) can be
// built that SQLite itself would never write. Header-only: the test suite
// compiles only *_test.cpp files.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace qf::test {

class RawPages {
 public:
  RawPages(std::uint32_t page_size, std::uint32_t page_count)
      : page_size_(page_size), bytes_(std::size_t{page_size} * page_count, 0) {
    set_page_size_field(page_size);
  }

  std::uint32_t page_size() const { return page_size_; }
  std::vector<std::uint8_t>& bytes() { return bytes_; }
  std::uint8_t* page(std::uint32_t number) { return bytes_.data() + std::size_t{number - 1} * page_size_; }

  void put16(std::uint32_t page_number, std::uint32_t offset, std::uint32_t value) {
    std::uint8_t* p = page(page_number) + offset;
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
  }
  void put32(std::uint32_t page_number, std::uint32_t offset, std::uint32_t value) {
    put16(page_number, offset, value >> 16);
    put16(page_number, offset + 2, value & 0xFFFF);
  }
  // The 2-byte page-size field of the file header.
  void set_page_size_field(std::uint32_t value) {
    bytes_[16] = static_cast<std::uint8_t>(value >> 8);
    bytes_[17] = static_cast<std::uint8_t>(value);
  }
  // Interior table page: right-most child and one cell per left child, laid
  // at the end of the page in the order given.
  void make_interior(std::uint32_t page_number, std::uint32_t right_most,
                     const std::vector<std::uint32_t>& children) {
    page(page_number)[0] = 5;
    put16(page_number, 3, static_cast<std::uint32_t>(children.size()));
    put32(page_number, 8, right_most);
    std::uint32_t cell = page_size_;
    for (std::size_t i = 0; i < children.size(); ++i) {
      cell -= 8;  // 4-byte child page, a row-id varint, padding
      put16(page_number, 12 + 2 * static_cast<std::uint32_t>(i), cell);
      put32(page_number, cell, children[i]);
      page(page_number)[cell + 4] = static_cast<std::uint8_t>(i + 1);
    }
    put16(page_number, 5, cell);
  }
  // Leaf table page with `cells` cell pointers (all to content_start) and the
  // given first freeblock.
  void make_leaf(std::uint32_t page_number, std::uint32_t cells, std::uint32_t content_start,
                 std::uint32_t first_freeblock = 0) {
    page(page_number)[0] = 13;
    put16(page_number, 1, first_freeblock);
    put16(page_number, 3, cells);
    put16(page_number, 5, content_start);
    for (std::uint32_t i = 0; i < cells; ++i) put16(page_number, 8 + 2 * i, content_start);
  }
  void make_freeblock(std::uint32_t page_number, std::uint32_t offset, std::uint32_t next, std::uint32_t size) {
    put16(page_number, offset, next);
    put16(page_number, offset + 2, size);
  }

  void save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
  }

 private:
  std::uint32_t page_size_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace qf::test
