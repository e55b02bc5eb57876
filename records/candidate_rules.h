#pragma once
// Rules the deleted-record decoders follow beyond the bare header pattern,
// each one needed for the rows real phones leave behind. All are on in the
// program; they can be switched off one by one to measure what each brings.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "records/contact_kind.h"
#include "records/record_source.h"
#include "records/spilled_row.h"

namespace qf {

struct CandidateRules {
  // SQLite stores the integers 0 and 1 as the constant serial types 8 and 9,
  // without a content byte; the first mimetype a phone registers has id 1.
  bool mimetype_id_constants = true;
  // Android 6 and later keep a TEXT column (hash_id) before data1 that is
  // never NULL; accept NULL or text in the columns declared TEXT.
  bool text_columns_before_data1 = true;
  // Rows written before ALTER TABLE added columns have fewer serial types;
  // try the record lengths that the table's live rows show.
  bool learned_record_lengths = true;
  // A start position whose header or value runs past the region's end is
  // rejected, and the search goes on to the end of the region (instead of
  // ending there and losing every row behind a garbage start).
  bool reject_overrunning_start = true;
  // The key column (_id) is stored as NULL. When a freed data row's length
  // and row id took one byte each (rows 1 to 127 of a small table), the
  // freeblock header overwrote its header-length byte and the key's serial
  // type too, so its header begins with column 1: a start that does not fit
  // from column 0 is tried again with column 0 taken as NULL.
  bool implied_key_column = true;
};

// What a decoder is told about the table besides its layout.
struct CandidateOptions {
  CandidateRules rules;
  // Distinct column counts of the table's live records; column_count is
  // always tried. Empty or column_count alone: rows are read at full length.
  std::vector<int> record_lengths;
  // Where the region lies; `offset` is the file offset of its first byte.
  // Records get it with the offset of the row's start.
  RecordSource source;
  // Contacts: true when the library's records already hold this value of
  // this raw contact id: an old copy of a live row (not deleted), or the
  // deleted row the library read from the backup copy (found twice).
  std::function<bool(std::int64_t raw_contact_id, ContactKind kind, std::string_view value)> reported_value;
  // Reads the rest of a row that spilled to overflow pages (pages of
  // `usable_size` bytes); empty: such rows are not put back together.
  OverflowReader read_overflow;
  std::uint32_t usable_size = 0;
};

}  // namespace qf
