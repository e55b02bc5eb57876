#include "records/morvatch/live_db.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace qf::morvatch {

bool LiveDb::open(const std::string& utf8_path) {
  // SQLite would create a missing file only with SQLITE_OPEN_CREATE; checking
  // first keeps a missing file from even reaching the open call.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(utf8_path), ec)) return false;
  if (!db_.open(utf8_path, SQLITE_OPEN_READONLY)) return false;
  sqlite3* db = db_.handle();
  sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  // Must precede the first read: the first access in WAL mode decides between
  // a shared -shm index and a private heap index.
  sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
  // Reading the schema proves it is a database; a locked file fails here too
  // (there is no busy wait).
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    db_.close();
    return false;
  }
  return true;
}

bool LiveDb::for_each_row(const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
  sqlite3_stmt* statement = nullptr;
  if (db_.handle() == nullptr ||
      sqlite3_prepare_v2(db_.handle(), sql, -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return false;
  }
  while (sqlite3_step(statement) == SQLITE_ROW) row(statement);
  sqlite3_finalize(statement);
  return true;
}

}  // namespace qf::morvatch
