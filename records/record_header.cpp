#include "records/record_header.h"

#include "records/text_test.h"

namespace qf {
namespace {

bool inside(RegionBytes region, std::uint64_t start, std::uint64_t length) {
  return start <= region.length && length <= region.length - start;
}

}  // namespace

CandidateOutcome read_integer_column(RegionBytes region, const RecordHeader& header, int column,
                                     std::int64_t& value) {
  const std::uint32_t type = header.type_of(column);
  const std::uint64_t start = header.start_of(column);
  // A value whose content runs past the end is treated like one that starts
  // there: its bytes were never read.
  if (start >= region.length || !inside(region, start, serial_content_length(type))) {
    return CandidateOutcome::overrun;
  }
  return read_serial_integer(type, region.bytes + start, value) ? CandidateOutcome::fits
                                                                 : CandidateOutcome::rejected;
}

CandidateOutcome read_text_column(RegionBytes region, const RecordHeader& header, int column,
                                  std::string_view& text) {
  const std::uint32_t type = header.type_of(column);
  const std::uint64_t start = header.start_of(column);
  if (start >= region.length) return CandidateOutcome::overrun;
  const std::uint64_t length = serial_content_length(type);
  if (!serial_type_is_text_or_blob(type) || !inside(region, start, length)) {
    return CandidateOutcome::rejected;
  }
  const std::uint8_t* p = region.bytes + start;
  const auto size = static_cast<std::size_t>(length);
  if (!passes_text_test(p, size)) return CandidateOutcome::rejected;
  text = std::string_view(reinterpret_cast<const char*>(p), size);
  return CandidateOutcome::fits;
}

bool every_text_column_clean(RegionBytes region, const RecordHeader& header) {
  for (std::size_t i = 0; i < header.types.size(); ++i) {
    const std::uint32_t type = header.types[i];
    if (!serial_type_is_text_or_blob(type)) continue;
    const std::uint64_t start = header.content_starts[i];
    const std::uint64_t length = serial_content_length(type);
    if (!inside(region, start, length)) return false;
    if (!passes_text_test(region.bytes + start, static_cast<std::size_t>(length))) return false;
  }
  return true;
}

}  // namespace qf
