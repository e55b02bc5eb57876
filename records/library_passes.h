#pragma once
// One pass of the live-record parser library over one database copy, merged
// into the records. The pass flag is the `deleted` value of every record the
// pass creates: false for the pulled copy, true for the backup copy (a row
// only the older backup still holds was deleted since).
#include <cstdint>
#include <map>
#include <string>

#include "records/contact_record.h"
#include "records/mimetype_name_table.h"
#include "records/record_tables.h"

namespace qf {

// The contact pass's working table: raw contact id -> record.
using ContactWorkingTable = std::map<std::int64_t, ContactRecord>;

// Refills `mimetypes` from the pass's mimetype list (a later id replaces an
// earlier one), then files every data row's value into the record of its
// raw contact id, creating it with `deleted` = pass_flag when absent. With
// `deleted_values` (the backup copy's pass), a value that a live contact of
// `working` does not hold goes into the deleted contact of that raw id in
// `deleted_values` (created under +raw id, as the scan files them).
// Returns the library's MORVATCH_* status of the pass (parser_library.h).
int LibraryContactPass(const std::string& utf8_path, bool pass_flag, ContactWorkingTable& working,
                       MimetypeNameTable& mimetypes, ContactTable* deleted_values = nullptr);

// Adds every message under the duplicate rule to the conversation of its
// (address, thread id), creating conversations with `deleted` = pass_flag.
// Returns the library's status of the pass, as above.
int LibraryMessagePass(const std::string& utf8_path, bool pass_flag, ConversationTable& conversations);

}  // namespace qf
