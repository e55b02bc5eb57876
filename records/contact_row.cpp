#include "records/contact_row.h"

#include <algorithm>

#include "records/candidate_search.h"

namespace qf {
namespace {

// Varints in a contacts header are read to their full nine bytes.
constexpr int kAnyVarintLength = 9;

bool column_accepts(const ContactRowPattern& pattern, const CandidateRules& rules, int column,
                    std::uint32_t type) {
  const int r = pattern.raw_contact_id_column;
  const int d = pattern.data1_column;
  if (column < d && type > 11) {
    const bool declared_text = rules.text_columns_before_data1 &&
                               static_cast<std::size_t>(column) < pattern.text_columns.size() &&
                               pattern.text_columns[static_cast<std::size_t>(column)];
    if (!declared_text || !serial_type_is_text(type)) return false;
  }
  if (column == r - 1) {
    const bool constant = rules.mimetype_id_constants && (type == 8 || type == 9);
    if (type != 1 && !constant) return false;
  }
  if (column == r && type == 0) return false;
  if (column == d && type < 14) return false;
  return true;
}

CandidateOutcome read_values(RegionBytes region, const RecordHeader& header, bool strict,
                             const ContactRowPattern& pattern,
                             const std::function<bool(std::int64_t)>& mimetype_known, ContactRow& row) {
  CandidateOutcome outcome = read_integer_column(region, header, pattern.raw_contact_id_column - 1, row.mimetype_id);
  if (outcome != CandidateOutcome::fits) return outcome;
  outcome = read_integer_column(region, header, pattern.raw_contact_id_column, row.raw_contact_id);
  if (outcome != CandidateOutcome::fits) return outcome;
  outcome = read_text_column(region, header, pattern.data1_column, row.data1);
  if (outcome != CandidateOutcome::fits) return outcome;
  if (strict && (!every_text_column_clean(region, header) || !mimetype_known(row.mimetype_id))) {
    return CandidateOutcome::rejected;
  }
  return CandidateOutcome::fits;
}

// One start position read with `length` columns.
CandidateOutcome try_row(RegionBytes region, std::size_t start, int first_column, int length, bool strict,
                         const ContactRowPattern& pattern, const CandidateOptions& options,
                         const std::function<bool(std::int64_t)>& mimetype_known, RecordHeader& header,
                         ContactRow& row, std::vector<std::uint8_t>& joined) {
  auto accepts = [&](int column, std::uint32_t type) {
    return column_accepts(pattern, options.rules, column, type);
  };
  return read_possibly_spilled_row(
      region, start, options.usable_size, options.read_overflow, header, joined,
      [&](RegionBytes bytes, std::size_t at, RecordHeader& read) {
        return read_record_header(bytes, at, first_column, length, kAnyVarintLength, accepts, read);
      },
      [&](RegionBytes bytes, const RecordHeader& read) {
        return read_values(bytes, read, strict, pattern, mimetype_known, row);
      });
}

}  // namespace

bool contact_pattern_usable(const ContactRowPattern& pattern) {
  const int n = pattern.column_count;
  const int r = pattern.raw_contact_id_column;
  const int d = pattern.data1_column;
  return r >= 1 && r < n && d >= 1 && d < n && d != r && d != r - 1;
}

void find_contact_rows(RegionBytes region, const ContactRowPattern& pattern, const CandidateOptions& options,
                       const std::function<bool(std::int64_t)>& mimetype_known,
                       const std::function<void(const ContactRow&)>& on_row) {
  if (!contact_pattern_usable(pattern)) return;
  const int last_read = std::max(pattern.raw_contact_id_column, pattern.data1_column);
  const std::vector<int> lengths = lengths_to_try(pattern.column_count, last_read, options);
  RecordHeader header;
  ContactRow row;
  std::vector<std::uint8_t> joined;  // a spilled row put back together
  // Column 0 can be implied only when the mimetype id does not sit in it.
  const bool imply_key = options.rules.implied_key_column && pattern.raw_contact_id_column >= 2;
  auto try_from = [&](std::size_t start, int first_column) {
    return try_lengths(lengths, [&](int length, bool strict) {
      return try_row(region, start, first_column, length, strict, pattern, options, mimetype_known, header, row,
                     joined);
    });
  };
  auto try_at = [&](std::size_t start) {
    const CandidateOutcome whole = try_from(start, 0);
    if (whole == CandidateOutcome::fits || !imply_key) return whole;
    const CandidateOutcome keyless = try_from(start, 1);
    return keyless == CandidateOutcome::rejected ? whole : keyless;
  };
  search_region(region, options.rules, try_at, [&](std::size_t start) {
    row.start = start;
    on_row(row);
  });
}

}  // namespace qf
