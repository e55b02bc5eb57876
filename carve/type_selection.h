#pragma once
// Filling type_spec_table for a scan: every selected name becomes one entry
// with its own copies of the search strings, their skip tables and a new
// file-type folder below the scanned node.
#include <string_view>

#include "carve/carve_state.h"
#include "carve/type_vocabulary.h"

namespace qf {

// Appends one entry for `definition` and its folder below state.partition.
// Returns false (selecting nothing) when the table already holds
// kTypeSpecCapacity entries.
bool select_type(carve_state& state, const type_definition& definition);

// Selects every entry `name` stands for ("all" is fourteen). Returns the number
// of entries refused because the table was full; -1 when the name is unknown.
int select_type_name(carve_state& state, std::string_view name);

// The -t names of a category mask, joined with ",": bit 1 pictures, bit 2
// media, bit 4 documents, in that order. Mask 0 gives "".
std::string category_type_list(int category_mask);

}  // namespace qf
