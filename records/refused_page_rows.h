#pragma once
// The live rows of a table that SQLite cannot give: rows on a damaged leaf
// page, or below a damaged interior or root page. The live-record library
// skips past such damage; this reader then reads the table's pages itself,
// with the same page and record decoding as the deleted-record scan.
//
// Which pages: every leaf page the table's tree reaches, the pages the tree
// points at that are no table pages (the damage itself), and, when the tree
// is broken, every leaf table page of the file; never a freelist page (its
// rows were deleted). Which cells: on a page with a sound header, those of
// its cell pointer array; on a page whose header is lost, every offset
// where a complete, self-consistent cell starts. Which rows: those whose
// row id SQLite, asked for it alone, answers with a corruption error; a row
// SQLite gives was read by the library already and is never filed twice, a
// row SQLite says is not there is an old copy, not a live row.
#include <functional>
#include <string>

#include "records/leaf_cell.h"
#include "records/record_source.h"
#include "records/table_layout.h"

namespace qf {

// The table read: "data" of a contacts copy or "sms" of a telephony copy.
enum class LiveTable { contacts, messages };

// What our reader did for one copy: the pages it read rows from, and the rows.
struct RefusedPagesRead {
  int pages = 0;
  int rows = 0;
};

using RefusedRowSink = std::function<void(const TableLayout& layout, const LeafCell& row, const RecordSource& source)>;

// Hands every live row SQLite refuses in the copy at `utf8_path` to
// `on_row`, its source being `file`, kind damaged_page, its page and the
// cell's byte offset in the file. Nothing for a copy that cannot be probed.
// `stop`, when given, is asked before each page: true ends the reading.
RefusedPagesRead ReadRefusedPageRows(const std::string& utf8_path, LiveTable table, SourceFile file,
                                     const RefusedRowSink& on_row, const std::function<bool()>& stop = {});

}  // namespace qf
