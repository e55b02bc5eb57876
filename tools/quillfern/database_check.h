#pragma once
// Whether a file given or pulled as a phone database is one: an SQLite file
// that holds the table the recovery reads ("data" for contacts, "sms" for
// messages). A JSON file, a truncated pull or the two databases swapped
// would otherwise give an empty report that looks like a phone with no
// records.
#include <filesystem>
#include <string>

namespace qf::cli {

struct ExpectedDatabase {
  const char* table;        // "data" or "sms"
  const char* description;  // "a contacts database (contacts2.db)"
};

extern const ExpectedDatabase kContactsDatabase;
extern const ExpectedDatabase kMessagesDatabase;

// Empty when `path` is usable, else why not, in words. Only reads `path`:
// the schema is read from a scratch copy (with the -wal beside `path`, when
// there is one) made in `scratch_folder`, which is removed again, because
// an ordinary SQLite connection may checkpoint and delete a -wal.
std::string database_problem(const std::string& path, const ExpectedDatabase& expected,
                             const std::filesystem::path& scratch_folder);

}  // namespace qf::cli
