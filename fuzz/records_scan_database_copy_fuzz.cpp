// Writes arbitrary bytes to a temporary contacts2.db and mmssms.db and scans
// both: SQLite probes the copy, then the raw walk reads its pages. Damaged
// b-trees, freeblock chains and page sizes must end cleanly.
// Replay a crash: records_scan_database_copy_fuzz <file>.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "records/scan_database_copy.h"

namespace {

namespace fs = std::filesystem;

const fs::path& work_dir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("qf-scan-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

// A fresh copy: the probe's read-write open may leave side files behind.
std::string write_copy(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const fs::path path = work_dir() / name;
  std::error_code ignored;
  for (const char* side : {"", "-wal", "-shm", "-journal"}) fs::remove(path.string() + side, ignored);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path.string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const qf::MimetypeNameTable mimetypes = {{1, "vnd.android.cursor.item/email_v2"},
                                                  {5, "vnd.android.cursor.item/phone_v2"},
                                                  {7, "vnd.android.cursor.item/name"}};
  qf::ContactTable contacts;
  qf::ScanDatabaseCopy(write_copy("contacts2.db", data, size), contacts, mimetypes);
  qf::ConversationTable conversations;
  qf::ScanDatabaseCopy(write_copy("mmssms.db", data, size), conversations);
  return 0;
}
