#pragma once
// Where the wanted columns of one table stand, and where its b-tree starts:
// what the deleted-record scan needs to know about a database copy before it
// reads the copy's pages raw.
#include <cstdint>
#include <vector>

namespace qf {

struct TableLayout {
  // 1-based page number of the table's b-tree root (sqlite_master.rootpage).
  std::int32_t root_page = 0;
  // Result columns of "SELECT * from <table>"; 0 means no layout was found.
  std::int32_t column_count = 0;
  // Contacts ("data"): 0-based column positions.
  std::int32_t raw_contact_id_column = 0;
  std::int32_t data1_column = 0;
  // Messages ("sms"): 0-based column positions.
  std::int32_t address_column = 0;
  std::int32_t body_column = 0;
  std::int32_t thread_id_column = 0;
  std::int32_t date_column = 0;
  std::int32_t type_column = 0;
  // One entry per result column: true when the column's declared type gives
  // it TEXT affinity (contains "CHAR", "CLOB" or "TEXT", any case). Android 6
  // and later keep a TEXT column (hash_id) before data1 that is never NULL,
  // so a decoder must accept text there. Empty when no layout was found.
  std::vector<bool> text_columns;

  bool is_text_column(std::int32_t column) const {
    return column >= 0 && static_cast<std::size_t>(column) < text_columns.size() &&
           text_columns[static_cast<std::size_t>(column)];
  }
};

}  // namespace qf
