#include "records/untrusted_db.h"

#include <sqlite3.h>

namespace qf {

namespace {

void configure_defensively(sqlite3* db) {
  // Defensive mode forbids writes to the schema and shadow tables through SQL;
  // with triggers and views off and the schema untrusted, nothing the file
  // declares runs code of its own when we query it.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
  // Results are ignored on purpose: on a file that is not a database these
  // still succeed or fail harmlessly, and the first real query reports it.
  sqlite3_exec(db, "PRAGMA trusted_schema=OFF", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "PRAGMA cell_size_check=ON", nullptr, nullptr, nullptr);
  // Memory-mapped reads of a corrupt file fault instead of failing cleanly.
  sqlite3_exec(db, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
  // No busy handler: a locked copy fails at once rather than waiting.
  sqlite3_busy_timeout(db, 0);
}

}  // namespace

UntrustedDb::~UntrustedDb() { close(); }

int UntrustedDb::on_progress(void* self) {
  auto* db = static_cast<UntrustedDb*>(self);
  if (db->steps_left_ == 0) return 1;
  --db->steps_left_;
  return db->steps_left_ == 0 ? 1 : 0;
}

bool UntrustedDb::open(const std::string& utf8_path, int open_flags, std::uint64_t step_budget) {
  close();
  sqlite3* db = nullptr;
  // SQLite takes the name as UTF-8 on every platform; its Windows file layer
  // converts it to UTF-16 for the wide file calls.
  int rc = sqlite3_open_v2(utf8_path.c_str(), &db, open_flags, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  steps_left_ = step_budget / kProgressUnit;
  if (steps_left_ == 0) steps_left_ = 1;
  sqlite3_progress_handler(db_, kProgressUnit, &UntrustedDb::on_progress, this);
  configure_defensively(db_);
  return true;
}

void UntrustedDb::close() {
  if (db_ == nullptr) return;
  // Every statement is finalized by its owner before this; close_v2 would
  // keep a zombie connection otherwise, plain close reports it.
  sqlite3_close(db_);
  db_ = nullptr;
}

}  // namespace qf
