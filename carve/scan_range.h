#pragma once
// Which bytes of its device a scan of one storage node covers.
#include <cstdint>

#include "carve/cdr_node.h"

namespace qf {

struct scan_range {
  std::uint64_t start = 0;   // absolute device offset
  std::uint64_t length = 0;  // bytes
};

// A partition: its own start and length. A disk (a node that owns its
// handles): from 0 to the device's end when the device tells its length, else
// to the end of its last partition. A card's first partition usually starts at
// 1 or 4 MiB, so the sum of the partition lengths would stop that far short of
// the end.
scan_range scan_range_of(const cdr_node& node);

}  // namespace qf
