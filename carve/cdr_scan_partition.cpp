// The storage unit's scan operation: the engine's argument vector for one
// node, and the byte range it covers.
#include <cassert>
#include <cstdio>

#include "carve/carve_engine.h"
#include "carve/cdr_info.h"
#include "carve/scan_range.h"
#include "carve/type_selection.h"

namespace qf {

std::vector<std::string> scan_arguments(const cdr_node& partition, int category_mask) {
  std::vector<std::string> args{"search", "-q"};
  if (category_mask != 0) {
    const std::string list = category_type_list(category_mask);
    std::printf("-t: %s\n", list.c_str());
    args.push_back("-t");
    args.push_back(list);
  }
  args.push_back("-i");
  args.push_back(partition.device_path);
  return args;
}

int cdr_scan_partition(cdr_info_win*, cdr_node* partition, int category_mask,
                       progress_callback progress, void* user_data) {
  assert(partition && "partition");
  if (!partition) return kEngineBadInput;
  const scan_range range = scan_range_of(*partition);
  return run_carve_engine(scan_arguments(*partition, category_mask), partition, range.start,
                          range.length, progress, user_data);
}

}  // namespace qf
