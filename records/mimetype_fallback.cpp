#include "records/mimetype_fallback.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "records/scanned_copy_open.h"
#include "records/untrusted_db.h"

namespace qf {

bool ReadMimetypeNameTable(const std::string& utf8_path, MimetypeNameTable& table) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(utf8_path), ec)) return false;
  UntrustedDb db;
  if (!open_scanned_copy(db, utf8_path, SQLITE_OPEN_READONLY)) return false;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db.handle(), "SELECT _id, mimetype FROM mimetypes", -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return false;
  }
  MimetypeNameTable read;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 1);
    if (text == nullptr) continue;
    read[static_cast<std::int32_t>(sqlite3_column_int64(statement, 0))] =
        std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(statement, 1)));
  }
  sqlite3_finalize(statement);
  if (rc != SQLITE_DONE || read.empty()) return false;
  table = std::move(read);
  return true;
}

}  // namespace qf
