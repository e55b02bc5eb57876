#pragma once
// The part both deleted-record decoders share: reading a record header at a
// guessed start position inside a region, and reading column values out of
// the contents that follow it, never past the region's end.
//
// Record format: a header of serial-type varints, one per column, then the
// column contents in column order. Freed rows have lost their first bytes
// (length, row id, header length), so the decoders read only the serial
// types, from a column they choose, and test each against the table's
// pattern.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "records/serial_type.h"

namespace qf {

// How a start position fared.
enum class CandidateOutcome {
  fits,      // the pattern holds so far
  rejected,  // the bytes at this start do not fit the pattern
  overrun,   // the header or a value runs past the end of the region
};

// The serial types read at one start position, for columns first_column ..
// first_column + types.size() - 1, and where each column's content lies.
// Reused across start positions: the vectors keep their capacity.
struct RecordHeader {
  int first_column = 0;
  std::vector<std::uint32_t> types;
  std::vector<std::uint64_t> content_starts;  // region offsets, 64-bit: lengths are huge
  std::uint64_t content_end = 0;

  std::uint32_t type_of(int column) const { return types[static_cast<std::size_t>(column - first_column)]; }
  std::uint64_t start_of(int column) const {
    return content_starts[static_cast<std::size_t>(column - first_column)];
  }
};

// A region handed to a decoder: `length` bytes that were really read.
struct RegionBytes {
  const std::uint8_t* bytes = nullptr;
  std::size_t length = 0;
};

// Reads the serial types of columns first_column .. column_count - 1 starting
// at `start`, asking `accepts(column, type)` about each as it is read; a
// varint longer than `max_varint_bytes` rejects the start. Fills `header`
// when the outcome is `fits`.
template <class ColumnCheck>
CandidateOutcome read_record_header(RegionBytes region, std::size_t start, int first_column,
                                    int column_count, int max_varint_bytes, ColumnCheck&& accepts,
                                    RecordHeader& header) {
  header.first_column = first_column;
  header.types.clear();
  std::size_t used = 0;
  for (int column = first_column; column < column_count; ++column) {
    const std::size_t at = start + used;
    if (at >= region.length) return CandidateOutcome::overrun;
    SerialType t;
    if (!read_serial_type(region.bytes + at, region.length - at, t)) return CandidateOutcome::overrun;
    if (t.bytes_used > max_varint_bytes || !accepts(column, t.type)) return CandidateOutcome::rejected;
    header.types.push_back(t.type);
    used += static_cast<std::size_t>(t.bytes_used);
  }
  header.content_starts.clear();
  std::uint64_t offset = start + used;
  for (std::uint32_t type : header.types) {
    header.content_starts.push_back(offset);
    offset += serial_content_length(type);
  }
  header.content_end = offset;
  return CandidateOutcome::fits;
}

// The value of a NULL or number column. Content that starts at or runs past
// the region's end is an overrun; a text or blob has no number: rejected.
CandidateOutcome read_integer_column(RegionBytes region, const RecordHeader& header, int column,
                                     std::int64_t& value);

// The bytes of a text or blob column that pass the text test. A start at or
// past the region's end is an overrun; content that runs past the end, or
// fails the test, is rejected.
CandidateOutcome read_text_column(RegionBytes region, const RecordHeader& header, int column,
                                  std::string_view& text);

// True when every text or blob column lies inside the region and passes the
// text test: the stricter check for rows whose length had to be guessed.
bool every_text_column_clean(RegionBytes region, const RecordHeader& header);

}  // namespace qf
