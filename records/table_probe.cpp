#include "records/table_probe.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <system_error>

#include "records/scanned_copy_open.h"
#include "records/untrusted_db.h"

namespace qf {

namespace {

// Owns one prepared statement.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool ok() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

bool file_exists(const std::string& utf8_path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::u8path(utf8_path), ec);
}

bool contains(const std::string& text, const char* marker) {
  return text.find(marker) != std::string::npos;
}

bool contains_word(std::string upper, const char* word) { return upper.find(word) != std::string::npos; }

// SQLite's affinity rules for a declared type: "INT" first gives INTEGER,
// then "CHAR", "CLOB" or "TEXT" gives TEXT.
bool declares_text(const char* decltype_text) {
  if (decltype_text == nullptr) return false;
  std::string upper(decltype_text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (contains_word(upper, "INT")) return false;
  return contains_word(upper, "CHAR") || contains_word(upper, "CLOB") || contains_word(upper, "TEXT");
}

// Every column of every row read as a 64-bit integer, its low 32 bits kept;
// the last value wins. False when the query cannot be prepared or fails.
bool read_root_page(sqlite3* db, const char* sql, TableLayout& layout) {
  Statement stmt(db, sql);
  if (!stmt.ok()) return false;
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    const int columns = sqlite3_column_count(stmt.get());
    for (int i = 0; i < columns; ++i) {
      layout.root_page = static_cast<std::int32_t>(
          static_cast<std::uint32_t>(sqlite3_column_int64(stmt.get(), i) & 0xFFFFFFFF));
    }
  }
  return rc == SQLITE_DONE;
}

// A wanted column: its exact, case-sensitive name and where to store its
// position. The first name that matches wins.
struct WantedColumn {
  const char* name;
  std::int32_t* position;
};

// The columns of "SELECT * from <table>" as its declared schema gives them.
// The statement is prepared, never stepped: a table whose rows were all
// deleted, or whose first page is damaged, has its layout all the same, and
// that is exactly when its freed rows matter most.
void read_columns(sqlite3* db, const char* sql, const WantedColumn* wanted, std::size_t wanted_count,
                  TableLayout& layout) {
  Statement stmt(db, sql);
  if (!stmt.ok()) return;
  layout.column_count = sqlite3_column_count(stmt.get());
  layout.text_columns.assign(static_cast<std::size_t>(layout.column_count), false);
  for (std::int32_t i = 0; i < layout.column_count; ++i) {
    const char* name = sqlite3_column_name(stmt.get(), i);
    layout.text_columns[static_cast<std::size_t>(i)] = declares_text(sqlite3_column_decltype(stmt.get(), i));
    if (name == nullptr) continue;
    for (std::size_t w = 0; w < wanted_count; ++w) {
      if (std::strcmp(name, wanted[w].name) == 0) {
        if (wanted[w].position != nullptr) *wanted[w].position = i;
        break;
      }
    }
  }
}

struct ProbeQueries {
  const char* marker;
  const char* root_sql;
  const char* columns_sql;
};

bool probe(const std::string& utf8_path, const ProbeQueries& q, const WantedColumn* wanted,
           std::size_t wanted_count, TableLayout& layout) {
  layout = TableLayout{};
  if (!file_exists(utf8_path)) return false;
  if (!contains(utf8_path, q.marker)) return false;
  UntrustedDb db;
  if (!open_scanned_copy(db, utf8_path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) return false;
  // The -wal beside the copy holds the older page images the scan reads:
  // closing must not checkpoint it into the copy and delete it.
  sqlite3_db_config(db.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  if (!read_root_page(db.handle(), q.root_sql, layout)) {
    layout = TableLayout{};
    return false;
  }
  read_columns(db.handle(), q.columns_sql, wanted, wanted_count, layout);
  db.close();
  // The walk starts at the root page: a table without one (a virtual table
  // declares 0) cannot be scanned, whatever its columns.
  if (layout.column_count == 0 || layout.root_page <= 0) {
    layout = TableLayout{};
    return false;
  }
  return true;
}

}  // namespace

bool ProbeContactsTable(const std::string& utf8_path, TableLayout& layout) {
  static const ProbeQueries queries = {
      "contacts2.db",
      "SELECT rootpage from sqlite_master where type=\"table\" and name=\"data\"",
      "SELECT * from data",
  };
  const WantedColumn wanted[] = {
      {"raw_contact_id", &layout.raw_contact_id_column},
      {"data1", &layout.data1_column},
  };
  return probe(utf8_path, queries, wanted, std::size(wanted), layout);
}

bool ProbeSmsTable(const std::string& utf8_path, TableLayout& layout) {
  static const ProbeQueries queries = {
      "mmssms.db",
      "SELECT rootpage from sqlite_master where type=\"table\" and name=\"sms\"",
      "SELECT * from sms",
  };
  // "person" is matched so that it never counts as a later name; its
  // position is not used.
  const WantedColumn wanted[] = {
      {"address", &layout.address_column}, {"person", nullptr},
      {"body", &layout.body_column},       {"thread_id", &layout.thread_id_column},
      {"date", &layout.date_column},       {"type", &layout.type_column},
  };
  return probe(utf8_path, queries, wanted, std::size(wanted), layout);
}

}  // namespace qf
