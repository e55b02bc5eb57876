#include "records/candidate_search.h"

#include <algorithm>
#include <functional>

namespace qf {

std::vector<int> lengths_to_try(int column_count, int last_read_column, const CandidateOptions& options) {
  std::vector<int> lengths{column_count};
  if (options.rules.learned_record_lengths) {
    for (int length : options.record_lengths) {
      if (length > last_read_column && length < column_count) lengths.push_back(length);
    }
  }
  std::sort(lengths.begin(), lengths.end(), std::greater<int>());
  lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
  return lengths;
}

}  // namespace qf
