#include "records/refused_page_rows.h"

#include <sqlite3.h>

#include <set>

#include "records/db_page.h"
#include "records/scanned_copy_open.h"
#include "records/table_probe.h"
#include "records/table_scan.h"
#include "records/untrusted_db.h"

namespace qf {
namespace {

using namespace db_page;

// Asks SQLite for single rows by row id, on its own connection to the copy
// (opened as the probe opens it: the -wal is read, never checkpointed).
class RowLookup {
 public:
  RowLookup(const std::string& utf8_path, const char* table) {
    if (!open_scanned_copy(db_, utf8_path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) return;
    sqlite3_db_config(db_.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    const std::string sql = std::string("SELECT rowid FROM ") + table + " WHERE rowid = ?1";
    if (sqlite3_prepare_v2(db_.handle(), sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement_);
      statement_ = nullptr;
    }
  }
  ~RowLookup() { sqlite3_finalize(statement_); }
  RowLookup(const RowLookup&) = delete;
  RowLookup& operator=(const RowLookup&) = delete;

  // True when SQLite cannot read the row: the page that holds it, or one on
  // the way to it, is damaged. A copy SQLite refuses whole refuses every row.
  bool refuses(std::int64_t row_id) {
    if (statement_ == nullptr) return true;
    sqlite3_bind_int64(statement_, 1, row_id);
    const int rc = sqlite3_step(statement_);
    sqlite3_reset(statement_);
    return (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB;
  }

 private:
  UntrustedDb db_;
  sqlite3_stmt* statement_ = nullptr;
};

// Serial types 1 to 9: an integer, a float or the constants 0 and 1.
constexpr std::uint32_t kLastNumberType = 9;

bool has_column(const LeafCell& cell, int column) { return column >= 0 && column < cell.column_count(); }

bool number_or_null(const LeafCell& cell, int column) {
  return !has_column(cell, column) || cell.header.type_of(column) <= kLastNumberType;
}

bool text_or_null(const LeafCell& cell, int column) {
  return !has_column(cell, column) || cell.header.type_of(column) == 0 ||
         serial_type_is_text_or_blob(cell.header.type_of(column));
}

bool not_null_number(const LeafCell& cell, int column) {
  return has_column(cell, column) && serial_type_is_number(cell.header.type_of(column)) &&
         cell.header.type_of(column) <= kLastNumberType;
}

// Whether a row has the table's shape. On a broken tree the pages of other
// tables are read too: the row must then have exactly the table's columns.
bool fits_table(const LeafCell& cell, const TableLayout& layout, LiveTable table, bool strict) {
  if (cell.column_count() > layout.column_count || (strict && cell.column_count() != layout.column_count)) {
    return false;
  }
  if (table == LiveTable::contacts) {
    return not_null_number(cell, layout.raw_contact_id_column - 1) &&
           not_null_number(cell, layout.raw_contact_id_column) && cell.column_count() > layout.data1_column;
  }
  return number_or_null(cell, layout.thread_id_column) && number_or_null(cell, layout.date_column) &&
         number_or_null(cell, layout.type_column) && text_or_null(cell, layout.address_column) &&
         text_or_null(cell, layout.body_column) && cell.column_count() > layout.body_column;
}

// A leaf page whose header and cell pointer array can be trusted.
bool sound_leaf_header(RegionBytes page) {
  if (page.length < kLeafHeaderSize || page.bytes[0] != kLeafTable) return false;
  const std::size_t cells = be16(page.bytes + kCellCount);
  const std::size_t content = cell_content_start(be16(page.bytes + kCellContentStart));
  return kLeafHeaderSize + 2 * cells <= content && content <= page.length;
}

// Calls `on_cell` for every cell of the page: through the pointer array when
// the header is sound, else at every offset where a whole cell starts.
template <class OnCell>
void for_each_cell(RegionBytes page, std::uint32_t usable_size, const OverflowReader& read_chain, LeafCell& cell,
                   OnCell&& on_cell) {
  if (sound_leaf_header(page)) {
    const std::size_t cells = be16(page.bytes + kCellCount);
    for (std::size_t i = 0; i < cells; ++i) {
      if (read_leaf_cell(page, be16(page.bytes + kLeafHeaderSize + 2 * i), usable_size, read_chain, cell)) {
        on_cell(cell);
      }
    }
    return;
  }
  for (std::uint32_t at = 0; at < page.length;) {
    if (read_leaf_cell(page, at, usable_size, read_chain, cell) && on_cell(cell)) {
      at += cell.extent;
    } else {
      ++at;
    }
  }
}

// The pages to read, ascending: the leaves and the damage, no freelist page.
std::set<std::uint32_t> pages_to_read(const TableScan& scan) {
  std::set<std::uint32_t> pages(scan.leaf_pages.begin(), scan.leaf_pages.end());
  pages.insert(scan.damaged_pages.begin(), scan.damaged_pages.end());
  for (const FreelistPage& freed : scan.freelist_pages) pages.erase(freed.page);
  return pages;
}

}  // namespace

RefusedPagesRead ReadRefusedPageRows(const std::string& utf8_path, LiveTable table, SourceFile file,
                                     const RefusedRowSink& on_row, const std::function<bool()>& stop) {
  RefusedPagesRead read;
  TableScan scan;
  scan.path = utf8_path;
  const auto probe = table == LiveTable::contacts ? ProbeContactsTable : ProbeSmsTable;
  if (!probe(utf8_path, scan.layout) || !prepare_table_scan(scan, false)) return read;
  RowLookup lookup(utf8_path, table == LiveTable::contacts ? "data" : "sms");
  const bool strict = !scan.damaged_pages.empty();
  const OverflowReader read_chain = overflow_reader(scan);
  std::vector<std::uint8_t> buffer(scan.page_size);
  LeafCell cell;
  for (std::uint32_t page : pages_to_read(scan)) {
    if (stop && stop()) break;
    const std::uint64_t start = page_start(page, scan.page_size);
    if (scan.file.read_at(start, buffer.data(), buffer.size()) != buffer.size()) continue;
    int rows_here = 0;
    for_each_cell({buffer.data(), scan.usable_size}, scan.usable_size, read_chain, cell, [&](const LeafCell& row) {
      if (!fits_table(row, scan.layout, table, strict)) return false;
      if (!lookup.refuses(row.row_id)) return true;
      RecordSource source{file, SourceKind::damaged_page, page, static_cast<std::uint32_t>(start + row.offset), 0};
      on_row(scan.layout, row, source);
      ++rows_here;
      return true;
    });
    read.rows += rows_here;
    if (rows_here > 0) ++read.pages;
  }
  return read;
}

}  // namespace qf
