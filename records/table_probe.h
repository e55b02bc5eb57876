#pragma once
// Asks SQLite for the root page and the column layout of the one table the
// deleted-record scan reads: "data" in a contacts database copy, "sms" in a
// telephony database copy. Reads no row contents.
//
// The copy is opened read-write with create, as the scan's design wants, but
// never checkpoints its -wal on close (the scan reads the -wal's frames), and
// the connection is configured for untrusted input: see untrusted_db.h.
#include <string>

#include "records/table_layout.h"

namespace qf {

// `layout` is reset first. False (and no layout) for a missing file, a path
// without "contacts2.db" in it (byte-wise, case-sensitive), a file SQLite
// cannot open or query. The columns come from the table's declared schema,
// so a table without a live row is probed like any other.
bool ProbeContactsTable(const std::string& utf8_path, TableLayout& layout);

// The same for "sms"; the path must contain "mmssms.db", otherwise the copy
// is not probed (false): the walk needs the root page, which is only queried
// for such a path.
bool ProbeSmsTable(const std::string& utf8_path, TableLayout& layout);

}  // namespace qf
