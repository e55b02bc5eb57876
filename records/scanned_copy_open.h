#pragma once
// Opening a copy that the raw scan reads, with SQLite, without changing it.
// A -journal beside a database is "hot" to SQLite when no process holds the
// database, as for every pulled copy: SQLite rolls it back when it first
// reads the file, writing the old pages into the copy and deleting the
// journal, whose old page images are what the scan wants. With a -journal
// beside it the copy is opened immutable (read-only, no locks, no side
// files): SQLite then reads the main file only, as the scan does.
#include <string>

#include "records/untrusted_db.h"

namespace qf {

// Opens `utf8_path` with `open_flags`, or immutable when a -journal lies
// beside it. False, with nothing open, when SQLite refuses.
bool open_scanned_copy(UntrustedDb& db, const std::string& utf8_path, int open_flags);

// The URI that opens `utf8_path` immutable: "%", "?" and "#" escaped.
std::string immutable_uri(const std::string& utf8_path);

}  // namespace qf
