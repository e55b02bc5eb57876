#include "tools/quillfern/database_check.h"

#include <sqlite3.h>

#include <cstring>
#include <fstream>
#include <system_error>

#include "records/untrusted_db.h"

namespace qf::cli {

const ExpectedDatabase kContactsDatabase{"data", "a contacts database (contacts2.db)"};
const ExpectedDatabase kMessagesDatabase{"sms", "a telephony database (mmssms.db)"};

namespace {

namespace fs = std::filesystem;

// Every SQLite database starts with these 16 bytes.
constexpr char kSqliteMagic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                   'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};

bool has_sqlite_header(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  char head[sizeof kSqliteMagic] = {};
  return in.read(head, sizeof head) && std::memcmp(head, kSqliteMagic, sizeof head) == 0;
}

// "" when the table is there, else the reason.
std::string table_problem(const std::string& copy, const ExpectedDatabase& expected) {
  UntrustedDb db;
  if (!db.open(copy, SQLITE_OPEN_READWRITE)) return "SQLite cannot open it";
  sqlite3_stmt* statement = nullptr;
  const char* sql = "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?1";
  if (sqlite3_prepare_v2(db.handle(), sql, -1, &statement, nullptr) != SQLITE_OK)
    return std::string("SQLite cannot read its schema (") + sqlite3_errmsg(db.handle()) + ")";
  sqlite3_bind_text(statement, 1, expected.table, -1, SQLITE_STATIC);
  const int rc = sqlite3_step(statement);
  const bool found = rc == SQLITE_ROW && sqlite3_column_int(statement, 0) > 0;
  std::string problem;
  if (rc != SQLITE_ROW) {
    problem = std::string("SQLite cannot read its schema (") + sqlite3_errmsg(db.handle()) + ")";
  } else if (!found) {
    problem = std::string("it has no table '") + expected.table + "', so it is not " + expected.description;
  }
  sqlite3_finalize(statement);
  return problem;
}

}  // namespace

std::string database_problem(const std::string& path, const ExpectedDatabase& expected,
                             const fs::path& scratch_folder) {
  const fs::path source = fs::u8path(path);
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return "it is not a readable file";
  if (!has_sqlite_header(source)) return std::string("it is not an SQLite database, so it is not ") + expected.description;
  fs::create_directories(scratch_folder, ec);
  const fs::path copy = scratch_folder / "check.db";
  std::string problem;
  if (!fs::copy_file(source, copy, fs::copy_options::overwrite_existing, ec)) {
    problem = "it cannot be copied to be read";
  } else {
    const fs::path wal = fs::u8path(path + "-wal");
    if (fs::is_regular_file(wal, ec))
      fs::copy_file(wal, fs::u8path(copy.u8string() + "-wal"), fs::copy_options::overwrite_existing, ec);
    problem = table_problem(copy.u8string(), expected);
  }
  fs::remove_all(scratch_folder, ec);
  return problem;
}

}  // namespace qf::cli
