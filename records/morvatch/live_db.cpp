#include "records/morvatch/live_db.h"

#include <sqlite3.h>

#include <filesystem>
#include <limits>
#include <system_error>

#include "records/morvatch/morvatch.h"

namespace qf::morvatch {

bool LiveDb::open(const std::string& utf8_path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(utf8_path), ec)) {
    status_ = MORVATCH_MISSING;
    return false;
  }
  if (!copy_.make(utf8_path)) {
    status_ = MORVATCH_NO_COPY;
    return false;
  }
  status_ = MORVATCH_NOT_DATABASE;
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
  status_ = MORVATCH_OK;
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

bool LiveDb::readable_from(const std::string& sql, long long from) {
  db_.charge_statement();
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_.handle(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return false;
  }
  sqlite3_bind_int64(statement, 1, from);
  const int rc = sqlite3_step(statement);
  sqlite3_finalize(statement);
  return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

bool LiveDb::for_each_table_row(const std::string& columns, const std::string& table,
                                const std::function<void(sqlite3_stmt*)>& row) {
  constexpr long long kLowest = std::numeric_limits<long long>::min();
  constexpr long long kHighest = std::numeric_limits<long long>::max();
  const std::string sql = "SELECT rowid, " + columns + " FROM " + table + " WHERE rowid >= ?1 ORDER BY rowid";
  long long from = kLowest;
  for (;;) {
    db_.charge_statement();
    sqlite3_stmt* statement = nullptr;
    if (db_.handle() == nullptr ||
        sqlite3_prepare_v2(db_.handle(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement);
      return false;
    }
    sqlite3_bind_int64(statement, 1, from);
    long long next = from;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      row(statement);
      // A damaged tree can return row ids out of order: only ever move on.
      const long long id = sqlite3_column_int64(statement, 0);
      if (id == kHighest) {
        next = kHighest;
        break;
      }
      if (id >= next) next = id + 1;
    }
    sqlite3_finalize(statement);
    // Only damage is skipped; running out of the step budget ends the read.
    if (rc != SQLITE_CORRUPT || db_.budget_exhausted()) return true;
    status_ = MORVATCH_ROWS_SKIPPED;
    if (next == kHighest || !readable_from(sql, kHighest)) return true;
    long long low = next + 1, high = kHighest;
    while (low < high && !db_.budget_exhausted()) {
      // The span may exceed the signed range: halve it unsigned.
      const auto span = static_cast<unsigned long long>(high) - static_cast<unsigned long long>(low);
      const long long middle = low + static_cast<long long>(span / 2);
      if (readable_from(sql, middle)) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    if (db_.budget_exhausted()) return true;
    from = low;  // past `next`, so every round moves on
  }
}

}  // namespace qf::morvatch
