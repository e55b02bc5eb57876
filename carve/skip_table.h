#pragma once
// Shift table of a search string for the skip-table search: every byte that
// does not occur in the string shifts by its whole length; the string's last
// byte has shift 0. The search itself belongs to the scan loop.
#include <array>
#include <cstddef>

namespace qf {

using skip_table = std::array<unsigned, 256>;

// Fills `table` for the `length` bytes at `s`. A wildcard byte ("?") lowers
// every shift to its own distance from the end. With `case_sensitive` 0 an
// ASCII letter also sets the shift of its other case.
void build_skip_table(skip_table& table, const unsigned char* s, std::size_t length,
                      int case_sensitive);

}  // namespace qf
