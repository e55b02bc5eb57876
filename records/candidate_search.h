#pragma once
// The skeleton both deleted-record decoders share: slide a start position
// over the region one byte at a time, try the table's row pattern there, and
// hand every row that fits to the filing step. The search goes on at the next
// byte after a find, so one freed row can be found more than once; the
// tables' duplicate rules make that harmless.
#include <cstddef>
#include <vector>

#include "records/candidate_rules.h"
#include "records/record_header.h"

namespace qf {

// Runs `try_at(start)` for every start position of the region and
// `accept(start)` after each one that fits. A start whose pattern runs past the
// region's end is rejected like any other when the rules say so; otherwise
// it ends the search of this region.
template <class TryAt, class Accept>
void search_region(RegionBytes region, const CandidateRules& rules, TryAt&& try_at, Accept&& accept) {
  for (std::size_t start = 0; start < region.length; ++start) {
    const CandidateOutcome outcome = try_at(start);
    if (outcome == CandidateOutcome::overrun && !rules.reject_overrunning_start) return;
    if (outcome == CandidateOutcome::fits) accept(start);
  }
}

// The record lengths to try at each start position, longest first: the
// table's column count, and, when the rules allow, every other length its
// live rows show that still holds column `last_read_column`.
std::vector<int> lengths_to_try(int column_count, int last_read_column, const CandidateOptions& options);

// Tries `try_length(n, strict)` for each length, longest first, and keeps
// the first that fits: the longest. With one length the plain pattern
// decides (strict false); with several every length is tried strictly,
// since a wrong length reads the values of neighbouring bytes. When none
// fits, an overrun at any length counts as an overrun.
template <class TryLength>
CandidateOutcome try_lengths(const std::vector<int>& lengths, TryLength&& try_length) {
  const bool strict = lengths.size() > 1;
  bool overran = false;
  for (int length : lengths) {
    const CandidateOutcome outcome = try_length(length, strict);
    if (outcome == CandidateOutcome::fits) return outcome;
    overran = overran || outcome == CandidateOutcome::overrun;
  }
  return overran ? CandidateOutcome::overrun : CandidateOutcome::rejected;
}

}  // namespace qf
