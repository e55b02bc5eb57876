#include <windows.h>
#include <winioctl.h>

#include "platform/read_handle.h"
#include "platform/utf_win32.h"

namespace qf {

struct ReadHandle {
  HANDLE handle;
};

ReadHandle* open_read_handle(const std::string& utf8_path) {
  // GENERIC_READ only, sharing read and write as a mounted disk requires:
  // nothing opened here can change the disk or image.
  HANDLE h = CreateFileW(widen(utf8_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return new ReadHandle{h};
}

void close_read_handle(ReadHandle* handle) {
  if (!handle) return;
  CloseHandle(handle->handle);
  delete handle;
}

std::int64_t read_at(ReadHandle* handle, std::uint64_t offset, void* buffer, std::size_t length) {
  if (!handle) return -1;
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < length) {
    // An OVERLAPPED offset on a synchronous handle makes this a positioned
    // read: concurrent readers of one handle do not share a position.
    OVERLAPPED at{};
    const std::uint64_t where = offset + done;
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    const std::size_t left = length - done;
    const DWORD want = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(handle->handle, out + done, want, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return done > 0 ? static_cast<std::int64_t>(done) : -1;
    }
    if (got == 0) break;
    done += got;
  }
  return static_cast<std::int64_t>(done);
}

std::int64_t read_handle_length(ReadHandle* handle) {
  if (!handle) return -1;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(handle->handle, &size) && size.QuadPart > 0) return size.QuadPart;
  // Raw disks have no file size; the disk reports its length instead.
  GET_LENGTH_INFORMATION info{};
  DWORD returned = 0;
  if (DeviceIoControl(handle->handle, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &info, sizeof info,
                      &returned, nullptr)) {
    return info.Length.QuadPart;
  }
  return -1;
}

}  // namespace qf
