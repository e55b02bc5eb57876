#pragma once
// A read-only SQLite connection for reading the live rows of a database file
// without changing any file: not the database, not its -wal, not its -shm.
// The connection reads a private copy (see private_copy.h), including the
// rows that so far stand only in the -wal; it is opened read-only, never
// checkpoints on close, and is configured defensively for a file that may be
// hostile (see untrusted_db.h).
#include <functional>
#include <string>

#include "records/morvatch/private_copy.h"
#include "records/untrusted_db.h"

struct sqlite3_stmt;

namespace qf::morvatch {

class LiveDb {
 public:
  // False for a missing file, a file SQLite cannot open, or one that is not
  // a readable database (empty, locked, corrupt, not a database at all);
  // status() then says which.
  bool open(const std::string& utf8_path);

  // Runs `sql` and calls `row` for every result row. False when the
  // statement cannot be prepared (no such table or column); rows already
  // delivered before a step error stay delivered.
  bool for_each_row(const char* sql, const std::function<void(sqlite3_stmt*)>& row);

  // Every row of a rowid table in rowid order; the row id is column 0 and
  // `columns` follow from position 1. A damaged page costs only its own
  // rows: when a step fails, the reading goes on from the first row id past
  // the damage (found by bisection, since SQLite's seek by row id descends
  // only into the page that holds it), and status() becomes
  // MORVATCH_ROWS_SKIPPED.
  bool for_each_table_row(const std::string& columns, const std::string& table,
                          const std::function<void(sqlite3_stmt*)>& row);

  // A MORVATCH_* status of the last open or read.
  int status() const { return status_; }

 private:
  // Whether a read from row id `from` on gets past its first step.
  bool readable_from(const std::string& sql, long long from);

  // Declared first so the connection closes before the copy goes.
  PrivateCopy copy_;
  UntrustedDb db_;
  int status_ = 0;
};

}  // namespace qf::morvatch
