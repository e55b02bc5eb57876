#include "records/message_row.h"

#include <algorithm>

#include "records/candidate_search.h"

namespace qf {
namespace {

constexpr int kFirstColumn = 1;
// A longer varint in an sms header is a sign of garbage, not of a row.
constexpr int kLongestVarint = 4;

bool column_accepts(const MessageRowPattern& pattern, int column, std::uint32_t type) {
  if (column == kFirstColumn && (type == 0 || type > 11)) return false;
  if ((column == pattern.address_column || column == pattern.body_column) && type < 14) return false;
  if (column == pattern.date_column && type == 0) return false;
  return true;
}

CandidateOutcome read_values(RegionBytes region, const RecordHeader& header, bool strict,
                             const MessageRowPattern& pattern, MessageRow& row) {
  CandidateOutcome outcome;
  // In this order: each can end the search of the region on its own.
  if ((outcome = read_text_column(region, header, pattern.address_column, row.address)) != CandidateOutcome::fits ||
      (outcome = read_text_column(region, header, pattern.body_column, row.body)) != CandidateOutcome::fits ||
      (outcome = read_integer_column(region, header, pattern.date_column, row.date)) != CandidateOutcome::fits ||
      (outcome = read_integer_column(region, header, pattern.thread_id_column, row.thread_id)) !=
          CandidateOutcome::fits ||
      (outcome = read_integer_column(region, header, pattern.type_column, row.type)) != CandidateOutcome::fits) {
    return outcome;
  }
  if (strict && !every_text_column_clean(region, header)) return CandidateOutcome::rejected;
  return CandidateOutcome::fits;
}

CandidateOutcome try_row(RegionBytes region, std::size_t start, int length, bool strict,
                         const MessageRowPattern& pattern, const CandidateOptions& options, RecordHeader& header,
                         MessageRow& row, std::vector<std::uint8_t>& joined) {
  auto accepts = [&](int column, std::uint32_t type) { return column_accepts(pattern, column, type); };
  return read_possibly_spilled_row(
      region, start, options.usable_size, options.read_overflow, header, joined,
      [&](RegionBytes bytes, std::size_t at, RecordHeader& read) {
        return read_record_header(bytes, at, kFirstColumn, length, kLongestVarint, accepts, read);
      },
      [&](RegionBytes bytes, const RecordHeader& read) { return read_values(bytes, read, strict, pattern, row); });
}

}  // namespace

bool message_pattern_usable(const MessageRowPattern& pattern) {
  const int n = pattern.column_count;
  for (int column : {pattern.address_column, pattern.body_column, pattern.thread_id_column,
                     pattern.date_column, pattern.type_column}) {
    if (column < kFirstColumn || column >= n) return false;
  }
  return n >= 2;
}

void find_message_rows(RegionBytes region, const MessageRowPattern& pattern, const CandidateOptions& options,
                       const std::function<void(const MessageRow&)>& on_row) {
  if (!message_pattern_usable(pattern)) return;
  const int last_read = std::max({pattern.address_column, pattern.body_column, pattern.thread_id_column,
                                  pattern.date_column, pattern.type_column});
  const std::vector<int> lengths = lengths_to_try(pattern.column_count, last_read, options);
  RecordHeader header;
  MessageRow row;
  std::vector<std::uint8_t> joined;  // a spilled row put back together
  auto try_at = [&](std::size_t start) {
    return try_lengths(lengths, [&](int length, bool strict) {
      return try_row(region, start, length, strict, pattern, options, header, row, joined);
    });
  };
  search_region(region, options.rules, try_at, [&](std::size_t start) {
    row.start = start;
    on_row(row);
  });
}

}  // namespace qf
