#include "records/whole_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qf {

WholeFileResult WriteWholeFile(const std::string& utf8_path, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::u8path(utf8_path);
  // C stdio: errors are return values. Binary mode: Windows text mode would
  // turn LF into CR LF and the file would not hold the bytes given.
#ifdef _WIN32
  std::FILE* out = _wfopen(path.c_str(), L"wb");
#else
  std::FILE* out = std::fopen(path.c_str(), "wb");
#endif
  if (out == nullptr) return WholeFileResult::not_created;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  const bool closed = std::fclose(out) == 0;
  if (written && closed) return WholeFileResult::written;
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return WholeFileResult::not_written;
}

}  // namespace qf
