#pragma once
// The deleted-record decoder for the contacts database's "data" table: finds
// freed rows in one byte region and files their data1 values into deleted
// contacts.
#include <cstddef>
#include <cstdint>

#include "records/candidate_rules.h"
#include "records/mimetype_name_table.h"
#include "records/record_tables.h"
#include "records/table_layout.h"

namespace qf {

// Every row found in the `length` bytes at `region` files its data1 text
// into the contact under its raw_contact_id (created deleted when new), in
// the field that its mimetype (resolved through `mimetypes`) selects. Layouts
// with raw_contact_id in column 0 (no column for the mimetype id before it)
// or with raw_contact_id or data1 missing are not decoded.
void ContactCandidate(const std::uint8_t* region, std::size_t length, const TableLayout& layout,
                      ContactTable& output, const MimetypeNameTable& mimetypes,
                      const CandidateOptions& options = {});

}  // namespace qf
