#pragma once
// One harness for the extractor fuzz targets: the input's first byte chooses
// how many of the following bytes lie before the match (so backward reads are
// tried) and whether the type's limit shrinks to the bytes held; the rest is
// copied into a buffer of exactly its size, so the address sanitizer reports
// any read outside it. The type's header is laid at the match, as the scan
// loop guarantees, and every entry the names select runs on the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "carve/carve_state.h"
#include "carve/cdr_info.h"
#include "carve/extractor.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"

namespace qf::fuzz {

inline int run_extractors(const std::uint8_t* data, std::size_t size, std::initializer_list<const char*> names) {
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  std::vector<unsigned char> buffer(data + 1, data + size);
  const std::uint64_t before = buffer.empty() ? 0 : (control & 0x3F) % (buffer.size() + 1);

  carve_state state;
  init_carve_state(state);
  cdr_node disk;
  state.partition = &disk;
  for (const char* name : names) select_type_name(state, name);
  for (int i = 0; i < state.type_count; ++i) {
    type_spec& entry = type_spec_table[static_cast<std::size_t>(i)];
    const std::uint64_t R = buffer.size() - before;
    unsigned char* s = buffer.data() + before;
    std::copy_n(entry.header.begin(), std::min<std::uint64_t>(entry.header_len, R), s);
    if (control & 0x80) entry.max_len = R;
    const unsigned char* next = dispatch_extractor(state, entry, s, before, R, 1048576);
    // The scan loop goes on from the answer: it must lie inside the data.
    if (next && (next < s || next > s + R)) __builtin_trap();
  }
  cdr_clear_children(nullptr, &disk);
  return 0;
}

}  // namespace qf::fuzz
