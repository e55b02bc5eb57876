#include "carve/scan_range.h"

#include <algorithm>

namespace qf {

scan_range scan_range_of(const cdr_node& node) {
  if (!node.owns_handles) return {node.start_offset, node.size};
  const std::int64_t device_length = read_handle_length(node.scan_handle);
  if (device_length > 0) return {0, static_cast<std::uint64_t>(device_length)};
  std::uint64_t end = node.size;
  // Type folders of earlier scans are children too; their zero size is harmless.
  for (const cdr_node* child = node.first_child; child; child = child->next) {
    end = std::max(end, child->start_offset + child->size);
  }
  return {0, end};
}

}  // namespace qf
