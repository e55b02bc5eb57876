#pragma once
// Recognising freed rows of the telephony database's "sms" table in a byte
// region: the header pattern and the values the decoder files.
//
// Column 0 (_id, the integer key, stored as NULL) lies in the bytes the
// freeblock header overwrote, so the pattern starts at column 1:
//   column 1              a number, not NULL (type 1..11)
//   address, body         text or bytes of at least one byte (type >= 14)
//   date                  not NULL
//   every varint          at most 4 bytes
// and address and body must pass the text test.
#include <cstdint>
#include <functional>
#include <string_view>

#include "records/candidate_rules.h"
#include "records/record_header.h"

namespace qf {

struct MessageRowPattern {
  int column_count = 0;
  int address_column = 0;
  int body_column = 0;
  int thread_id_column = 0;
  int date_column = 0;
  int type_column = 0;
};

// The values of one recognised row; the texts point into the region.
struct MessageRow {
  std::string_view address;
  std::string_view body;
  std::int64_t date = 0;
  std::int64_t thread_id = 0;
  std::int64_t type = 0;
  std::size_t start = 0;  // where the row's header begins in the region
};

// False for fewer than 2 columns (the pattern would be empty) or a wanted
// column outside columns 1 .. column_count - 1.
bool message_pattern_usable(const MessageRowPattern& pattern);

// Calls `on_row` for every start position of the region where a row fits.
void find_message_rows(RegionBytes region, const MessageRowPattern& pattern, const CandidateOptions& options,
                       const std::function<void(const MessageRow&)>& on_row);

}  // namespace qf
