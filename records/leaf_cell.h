#pragma once
// One cell of a leaf table page, read whole by our own reader: how the live
// rows of a page that SQLite refuses are still read.
//
// Leaf table cell (offsets from the cell start):
//   varint     payload length P (the record's bytes)
//   varint     row id
//   L bytes    the record's first L bytes, L = local_payload_size(P)
//   4 bytes    first overflow page, only when L < P (overflow_chain.h)
// Record: header-length varint H (H counts itself), one serial type per
// column up to byte H, then the contents; H plus the contents is exactly P,
// which is what tells a real cell from bytes that only look like one.
#include <cstdint>
#include <string>
#include <vector>

#include "records/record_header.h"
#include "records/spilled_row.h"

namespace qf {

struct LeafCell {
  std::int64_t row_id = 0;
  std::uint32_t offset = 0;  // where the cell starts in its page
  std::uint32_t extent = 0;  // bytes the cell takes in its page
  std::vector<std::uint8_t> record;  // the whole record, overflow joined
  RecordHeader header;               // every column's type and content start in `record`

  int column_count() const { return static_cast<int>(header.types.size()); }
};

// Reads the cell at byte `cell` of `page` (its usable bytes). False when the
// bytes there are no complete, self-consistent cell: a varint or the local
// part leaves the page, the overflow chain cannot give the rest, the payload
// passes kMaxSpilledPayload, or header and contents do not add up to P.
bool read_leaf_cell(RegionBytes page, std::uint32_t cell, std::uint32_t usable_size,
                    const OverflowReader& read_chain, LeafCell& out);

// The integer of `column`: 0 for NULL, text, a blob, or a column the row is
// too old to have (a row written before a column was added).
std::int64_t cell_integer(const LeafCell& cell, int column);

// The bytes of a text or blob `column` as stored (NUL bytes kept); a number
// as SQLite shows it as text; empty for NULL or a missing column.
std::string cell_text(const LeafCell& cell, int column);

}  // namespace qf
