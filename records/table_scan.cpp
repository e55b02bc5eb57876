#include "records/table_scan.h"

#include <algorithm>

#include "records/record_lengths.h"

namespace qf {

bool prepare_table_scan(TableScan& scan, bool learn_lengths) {
  if (!scan.file.open(scan.path) || !read_page_size(scan.file, scan.page_size)) return false;
  if (scan.layout.root_page <= 0) return false;
  scan.leaf_pages = walk_table_btree(scan.file, scan.page_size, static_cast<std::uint32_t>(scan.layout.root_page));
  std::sort(scan.leaf_pages.begin(), scan.leaf_pages.end());
  scan.freeblock_lists = build_freeblock_lists(scan.file, scan.page_size, scan.leaf_pages);
  if (learn_lengths) scan.record_lengths = learn_record_lengths(scan.file, scan.page_size, scan.leaf_pages);
  return true;
}

}  // namespace qf
