#pragma once
// One pass of the live-record parser library over one database copy, merged
// into the records. The pass flag is the `deleted` value of every record the
// pass creates: false for the pulled copy, true for the backup copy (a row
// only the older backup still holds was deleted since).
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "records/contact_record.h"
#include "records/mimetype_name_table.h"
#include "records/record_tables.h"
#include "records/refused_page_rows.h"

namespace qf {

// The contact pass's working table: raw contact id -> record.
using ContactWorkingTable = std::map<std::int64_t, ContactRecord>;

// How one pass went: the library's MORVATCH_* status (parser_library.h) and,
// when SQLite refused pages, what our own reader read from them (their live
// rows are filed as the library's are, with their page as source).
struct LibraryPassResult {
  int status = 0;
  RefusedPagesRead own_reader;
};

// Refills `mimetypes` from the pass's mimetype list (a later id replaces an
// earlier one), then files every data row's value into the record of its
// raw contact id, creating it with `deleted` = pass_flag when absent. With
// `deleted_values` (the backup copy's pass), a value that a live contact of
// `working` does not hold goes into the deleted contact of that raw id in
// `deleted_values` (created under +raw id, as the scan files them).
LibraryPassResult LibraryContactPass(const std::string& utf8_path, bool pass_flag, ContactWorkingTable& working,
                                     MimetypeNameTable& mimetypes, ContactTable* deleted_values = nullptr,
                                     const std::function<bool()>& stop = {});

// Adds every message under the duplicate rule to the conversation of its
// (address, thread id), creating conversations with `deleted` = pass_flag.
// In both passes our own page reader asks `stop` before each page.
LibraryPassResult LibraryMessagePass(const std::string& utf8_path, bool pass_flag,
                                     ConversationTable& conversations, const std::function<bool()>& stop = {});

}  // namespace qf
