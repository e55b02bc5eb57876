// Writes arbitrary bytes to a temporary contacts2.db and mmssms.db and scans
// both: SQLite probes the copy, then the raw walk reads its pages. Damaged
// b-trees, freeblock chains and page sizes must end cleanly. Each copy is
// also read by our own leaf-cell reader, as for pages SQLite refuses.
// Replay a crash: records_scan_database_copy_fuzz <file>.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "records/refused_page_rows.h"
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
  // Every value of every row is read, as the loader files them.
  std::size_t bytes = 0;
  const auto read_all = [&bytes](const qf::TableLayout&, const qf::LeafCell& row, const qf::RecordSource&) {
    for (int column = 0; column < row.column_count(); ++column) {
      bytes += qf::cell_text(row, column).size() + static_cast<std::size_t>(qf::cell_integer(row, column) & 1);
    }
  };
  qf::ReadRefusedPageRows(write_copy("contacts2.db", data, size), qf::LiveTable::contacts,
                          qf::SourceFile::pulled_copy, read_all);
  qf::ReadRefusedPageRows(write_copy("mmssms.db", data, size), qf::LiveTable::messages,
                          qf::SourceFile::pulled_copy, read_all);
  static volatile std::size_t read_bytes;
  read_bytes = bytes;
  return 0;
}
