#pragma once
// The mimetype list read straight from a contacts database copy, for when the
// live-record library handed none back (it could not copy or read the file):
// without it every freed data row's value would land in "others", since
// freed rows carry only the mimetype id.
#include <string>

#include "records/mimetype_name_table.h"

namespace qf {

// Fills `table` from the copy's "mimetypes" table (_id, mimetype) through a
// read-only, defensively configured connection. False, and `table`
// unchanged, when the copy cannot be read.
bool ReadMimetypeNameTable(const std::string& utf8_path, MimetypeNameTable& table);

}  // namespace qf
