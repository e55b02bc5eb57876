#pragma once
// A freed row whose values run past its region may be a row that spilled to
// overflow pages. Its header tells the whole payload size P; SQLite's rule
// then tells how many bytes stayed in the cell, so the 4-byte number of the
// first overflow page lies right after them. The row is put back together
// from the bytes in the region and the chain.
//
// The bytes before the header start are lost (the freeblock header overwrote
// them): the header-length varint (1 byte, 2 when the header passes 127
// bytes) and one serial type byte per column before the first one read (the
// key column, stored as NULL).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "records/record_header.h"

namespace qf {

// Reads `length` bytes of the chain from `first_page` into `out`; false when
// the chain cannot give them.
using OverflowReader =
    std::function<bool(std::uint32_t first_page, std::uint64_t length, std::vector<std::uint8_t>& out)>;

// Spilled rows longer than this are not taken for phone records.
constexpr std::uint64_t kMaxSpilledPayload = std::uint64_t{1} << 20;

// When the row read at `start` into `header` runs past the region and its
// local part ends inside the region with an overflow page number whose
// chain gives the rest: `joined` holds the row from its header start to its
// last content byte, and true. `usable_size` is the pages' usable size.
bool join_spilled_row(RegionBytes region, std::size_t start, const RecordHeader& header,
                      std::uint32_t usable_size, const OverflowReader& read_chain,
                      std::vector<std::uint8_t>& joined);

// Reads the row at `start`: `read_header(bytes, start, header)` then
// `read_values(bytes, header)`. A row that spilled is read from its joined
// bytes; when that fails it is read as it lies in the region.
template <class ReadHeader, class ReadValues>
CandidateOutcome read_possibly_spilled_row(RegionBytes region, std::size_t start, std::uint32_t usable_size,
                                           const OverflowReader& read_chain, RecordHeader& header,
                                           std::vector<std::uint8_t>& joined, ReadHeader&& read_header,
                                           ReadValues&& read_values) {
  const CandidateOutcome outcome = read_header(region, start, header);
  if (outcome != CandidateOutcome::fits) return outcome;
  if (join_spilled_row(region, start, header, usable_size, read_chain, joined)) {
    const RegionBytes whole{joined.data(), joined.size()};
    RecordHeader spilled;
    if (read_header(whole, 0, spilled) == CandidateOutcome::fits &&
        read_values(whole, spilled) == CandidateOutcome::fits) {
      return CandidateOutcome::fits;
    }
  }
  return read_values(region, header);
}

}  // namespace qf
