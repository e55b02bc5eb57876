#include "records/db_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qf {

DbFile::~DbFile() { close(); }

bool DbFile::open(const std::string& utf8_path) {
  close();
  fd_ = ::open(utf8_path.c_str(), O_RDONLY | O_CLOEXEC);
  return fd_ >= 0;
}

bool DbFile::is_open() const { return fd_ >= 0; }

void DbFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::size_t DbFile::read_at(std::uint64_t offset, void* buffer, std::size_t length) const {
  if (fd_ < 0) return 0;
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < length) {
    const ssize_t got = ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

}  // namespace qf
