#pragma once
// A database copy opened read-only for positioned reads. The raw scan never
// loads a file whole: it reads a few header bytes, or one region, at a time.
// Owns the handle; closing happens when the object goes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qf {

class DbFile {
 public:
  DbFile() = default;
  ~DbFile();
  DbFile(const DbFile&) = delete;
  DbFile& operator=(const DbFile&) = delete;

  // Opens the UTF-8 path for reading; false when that fails.
  bool open(const std::string& utf8_path);
  bool is_open() const;
  void close();
  // Reads up to `length` bytes at `offset`; returns the number read, which is
  // smaller near the end of the file and 0 past it or on a read error.
  std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t length) const;

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace qf
