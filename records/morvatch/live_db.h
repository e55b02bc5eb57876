#pragma once
// A read-only SQLite connection to a database copy, for reading its live rows
// without changing any file: not the database, not its -wal, not its -shm.
//
// - opened read-only, so no write, checkpoint or journal roll-back happens;
// - exclusive locking mode before the first read: SQLite then keeps the
//   write-ahead-log index in private memory and never creates or writes a
//   -shm file, while still reading the frames of a -wal that lies beside it;
// - no checkpoint on close (the -wal is never folded in or removed);
// - defensive settings for a file that may be hostile (see untrusted_db.h).
#include <functional>
#include <string>

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
  UntrustedDb db_;
};

}  // namespace qf::morvatch
