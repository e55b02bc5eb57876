#pragma once
// A database copy opened read-only for positioned reads. The raw scan never
// loads a file whole: it reads a few header bytes, or one region, at a time.
// Owns its read handle; the file is closed when the object goes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/read_handle.h"

namespace qf {

class DbFile {
 public:
  DbFile() = default;
  ~DbFile() { close(); }
  DbFile(const DbFile&) = delete;
  DbFile& operator=(const DbFile&) = delete;

  // Opens the UTF-8 path for reading; false when that fails.
  bool open(const std::string& utf8_path);
  bool is_open() const { return handle_ != nullptr; }
  void close();
  // Reads up to `length` bytes at `offset`; returns the number read, which is
  // smaller near the end of the file, and 0 past it or on a read error.
  std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t length) const;

 private:
  ReadHandle* handle_ = nullptr;
};

}  // namespace qf
