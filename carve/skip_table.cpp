#include "carve/skip_table.h"

#include <cctype>

#include "carve/carve_state.h"

namespace qf {

void build_skip_table(skip_table& table, const unsigned char* s, std::size_t length,
                      int case_sensitive) {
  const unsigned whole = static_cast<unsigned>(length);
  table.fill(whole);
  for (std::size_t j = 0; j < length; ++j) {
    const unsigned shift = static_cast<unsigned>(length - 1 - j);
    if (s[j] == kWildcard) table.fill(shift);
    table[s[j]] = shift;
    if (!case_sensitive) {
      table[static_cast<unsigned char>(std::tolower(s[j]))] = shift;
      table[static_cast<unsigned char>(std::toupper(s[j]))] = shift;
    }
  }
}

}  // namespace qf
