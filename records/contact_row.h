#pragma once
// Recognising freed rows of the contacts database's "data" table in a byte
// region: the header pattern and the values the decoder files.
//
// Pattern, with r = raw_contact_id column and d = data1 column:
//   columns before d      NULL, a number or a constant (serial type 0..11);
//                         a column declared TEXT may also hold text (Android
//                         6 and later keep hash_id there, never NULL)
//   column r - 1          the mimetype id: a 1-byte integer, or the constant
//                         0 or 1 (types 8 and 9: SQLite stores 0 and 1 so)
//   column r              raw_contact_id, not NULL
//   column d              data1: text or bytes of at least one byte (type >= 14)
// and data1 must pass the text test. Column 0, the NULL key, may be missing
// from the header (see CandidateRules::implied_key_column).
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "records/candidate_rules.h"
#include "records/record_header.h"

namespace qf {

struct ContactRowPattern {
  int column_count = 0;
  int raw_contact_id_column = 0;
  int data1_column = 0;
  // Per column before data1: declared TEXT.
  std::vector<bool> text_columns;
};

// The values of one recognised row; data1 points into the region.
struct ContactRow {
  std::int64_t mimetype_id = 0;
  std::int64_t raw_contact_id = 0;
  std::string_view data1;
  std::size_t start = 0;  // where the row's header begins in the region
};

// False for layouts with no column before raw_contact_id to hold the
// mimetype id, or with raw_contact_id or data1 missing or out of range.
bool contact_pattern_usable(const ContactRowPattern& pattern);

// Calls `on_row` for every start position of the region where a row fits.
// `mimetype_known` is asked only when several record lengths are tried: a
// row read with a guessed length must also have a mimetype id the phone
// knows.
void find_contact_rows(RegionBytes region, const ContactRowPattern& pattern, const CandidateOptions& options,
                       const std::function<bool(std::int64_t)>& mimetype_known,
                       const std::function<void(const ContactRow&)>& on_row);

}  // namespace qf
