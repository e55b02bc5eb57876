#include "records/table_scan.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/records/raw_pages.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

using test::RawPages;

// Regions as (first byte, length), in the order they were handed out.
using Seen = std::vector<std::pair<int, std::size_t>>;

Seen regions_of(const std::string& path, FreeblockCut cut, std::size_t min_length = 0) {
  TableScan scan;
  scan.path = path;
  scan.layout.root_page = 2;
  EXPECT_TRUE(prepare_table_scan(scan, false));
  Seen seen;
  for_each_region(scan, cut, min_length, [&](const ScanRegion& r) { seen.emplace_back(r.buffer[0], r.length); });
  return seen;
}

TEST(TableScan, FreeblocksInChainOrderComeFirstThenTheGapsOfTheSortedLeaves) {
  test::TempDir dir("qf-table-scan");
  RawPages pages(1024, 4);
  pages.make_interior(2, 3, {4});  // the walk meets leaf 3 before leaf 4
  pages.make_leaf(4, 2, 800, 600);
  pages.make_freeblock(4, 600, 200, 20);
  pages.make_freeblock(4, 200, 400, 30);
  pages.make_freeblock(4, 400, 0, 40);
  pages.page(4)[604] = 0xA1;
  pages.page(4)[204] = 0xA2;
  pages.page(4)[404] = 0xA3;
  pages.page(4)[12] = 0xB4;  // gap of page 4: from 12 to 800
  pages.make_leaf(3, 1, 500);
  pages.page(3)[10] = 0xB3;  // gap of page 3: from 10 to 500
  const std::string path = dir.file("t.db");
  pages.save(path);

  TableScan scan;
  scan.path = path;
  scan.layout.root_page = 2;
  ASSERT_TRUE(prepare_table_scan(scan, false));
  EXPECT_EQ(scan.leaf_pages, (std::vector<std::uint32_t>{3, 4}));
  EXPECT_EQ(scan.freeblock_lists.count(3), 0u);
  EXPECT_EQ(regions_of(path, FreeblockCut::sms),
            (Seen{{0xA1, 16}, {0xA2, 26}, {0xA3, 36}, {0xB3, 490}, {0xB4, 788}}));
  // An sms region must be longer than the table's column count.
  EXPECT_EQ(regions_of(path, FreeblockCut::sms, 26), (Seen{{0xA3, 36}, {0xB3, 490}, {0xB4, 788}}));
}

TEST(TableScan, UnusablePageSizeOrRootEndsTheScanBeforeAnyRead) {
  test::TempDir dir("qf-table-scan");
  RawPages pages(1024, 2);
  pages.make_leaf(2, 0, 1024);
  const std::string path = dir.file("t.db");
  for (std::uint32_t bad : {0u, 1000u}) {
    pages.set_page_size_field(bad);
    pages.save(path);
    TableScan scan;
    scan.path = path;
    scan.layout.root_page = 2;
    EXPECT_FALSE(prepare_table_scan(scan, true)) << bad;
  }
  TableScan missing;
  missing.path = dir.file("missing.db");
  missing.layout.root_page = 2;
  EXPECT_FALSE(prepare_table_scan(missing, true));
}

}  // namespace
}  // namespace qf
