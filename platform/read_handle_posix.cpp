#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/read_handle.h"

namespace qf {

struct ReadHandle {
  int fd;
};

ReadHandle* open_read_handle(const std::string& utf8_path) {
  // O_RDONLY only: there is no way to write through a ReadHandle.
  const int fd = ::open(utf8_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return new ReadHandle{fd};
}

void close_read_handle(ReadHandle* handle) {
  if (!handle) return;
  ::close(handle->fd);
  delete handle;
}

std::int64_t read_at(ReadHandle* handle, std::uint64_t offset, void* buffer, std::size_t length) {
  if (!handle) return -1;
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  // pread may return less than asked (signals, pipes of block devices); keep
  // going until the end of the input or an error.
  while (done < length) {
    const ssize_t got = ::pread(handle->fd, out + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? static_cast<std::int64_t>(done) : -1;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<std::int64_t>(done);
}

std::int64_t read_handle_length(ReadHandle* handle) {
  if (!handle) return -1;
  struct stat st {};
  if (::fstat(handle->fd, &st) == 0 && S_ISREG(st.st_mode)) return st.st_size;
  // A block device reports 0 in st_size; seeking to its end tells its length.
  const off_t end = ::lseek(handle->fd, 0, SEEK_END);
  return end < 0 ? -1 : static_cast<std::int64_t>(end);
}

}  // namespace qf
