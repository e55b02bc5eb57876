#include "records/db_file.h"

namespace qf {

bool DbFile::open(const std::string& utf8_path) {
  close();
  handle_ = open_read_handle(utf8_path);
  return handle_ != nullptr;
}

void DbFile::close() {
  close_read_handle(handle_);
  handle_ = nullptr;
}

std::size_t DbFile::read_at(std::uint64_t offset, void* buffer, std::size_t length) const {
  const std::int64_t got = qf::read_at(handle_, offset, buffer, length);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

}  // namespace qf
