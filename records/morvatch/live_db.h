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
  // a readable database (empty, locked, corrupt, not a database at all).
  bool open(const std::string& utf8_path);

  // Runs `sql` and calls `row` for every result row. False when the
  // statement cannot be prepared (no such table or column); rows already
  // delivered before a step error stay delivered.
  bool for_each_row(const char* sql, const std::function<void(sqlite3_stmt*)>& row);

 private:
  // Declared first so the connection closes before the copy goes.
  PrivateCopy copy_;
  UntrustedDb db_;
};

}  // namespace qf::morvatch
