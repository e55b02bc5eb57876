#include <windows.h>

#include "platform/utf_win32.h"
#include "records/db_file.h"

namespace qf {

DbFile::~DbFile() { close(); }

bool DbFile::open(const std::string& utf8_path) {
  close();
  // Share everything: the copy may still be open elsewhere for reading.
  HANDLE h = CreateFileW(widen(utf8_path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

bool DbFile::is_open() const { return handle_ != nullptr; }

void DbFile::close() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

std::size_t DbFile::read_at(std::uint64_t offset, void* buffer, std::size_t length) const {
  if (handle_ == nullptr) return 0;
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < length) {
    OVERLAPPED at{};
    const std::uint64_t where = offset + done;
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(length - done);
    if (!ReadFile(static_cast<HANDLE>(handle_), out + done, want, &got, &at) || got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace qf
