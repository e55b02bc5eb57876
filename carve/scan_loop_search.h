#pragma once
// Finding search strings (headers, footers, markers) in a byte range with the
// skip table of carve/skip_table.h. A "?" in a search string matches any byte;
// a case-insensitive type also lets ASCII letters match their other case.
#include <cstddef>
#include <cstdint>

#include "carve/skip_table.h"

namespace qf {

struct type_spec;

// True when the `length` bytes at `at` equal `pattern` under the rules above.
bool search_string_matches(const unsigned char* at, const unsigned char* pattern, std::size_t length,
                           int case_sensitive);

// First occurrence of `pattern` wholly inside the `span` bytes at `from`, or
// null. An empty pattern matches at `from`.
const unsigned char* skip_search(const unsigned char* from, std::uint64_t span,
                                 const unsigned char* pattern, std::size_t length,
                                 const skip_table& table, int case_sensitive);

// The entry's header, footer or marker `index`, with its own table and case rule.
const unsigned char* find_header(const type_spec& entry, const unsigned char* from, std::uint64_t span);
const unsigned char* find_footer(const type_spec& entry, const unsigned char* from, std::uint64_t span);
const unsigned char* find_marker(const type_spec& entry, int index, const unsigned char* from,
                                 std::uint64_t span);

}  // namespace qf
