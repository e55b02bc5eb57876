#include "records/morvatch/live_db.h"

#include <sqlite3.h>

namespace qf::morvatch {

bool LiveDb::open(const std::string& utf8_path) {
  if (!copy_.make(utf8_path)) return false;
  if (!db_.open(copy_.path(), SQLITE_OPEN_READONLY)) return false;
  sqlite3* db = db_.handle();
  sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  // Reading the schema proves it is a database (an empty or foreign file
  // fails here); there is no busy wait.
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
