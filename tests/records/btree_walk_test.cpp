#include "records/btree_walk.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/records/raw_pages.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

using test::RawPages;

class BtreeWalk : public ::testing::Test {
 protected:
  // Saves the image and opens it for reading.
  const DbFile& open(const RawPages& pages) {
    const std::string path = dir_.file("walk.db");
    pages.save(path);
    EXPECT_TRUE(file_.open(path));
    return file_;
  }

  test::TempDir dir_{"qf-walk"};
  DbFile file_;
};

TEST_F(BtreeWalk, RootThatIsALeafYieldsExactlyThatPage) {
  RawPages pages(1024, 3);
  pages.make_leaf(3, 0, 1024);
  EXPECT_EQ(walk_table_btree(open(pages), 1024, 3), std::vector<std::uint32_t>{3});
}

TEST_F(BtreeWalk, RightMostSubtreeIsWalkedFirstThenCellsInPointerOrder) {
  // 2 -> right 6, cells [3, 7]; 3 -> right 5, cells [4]. Leaves 4 5 6 7.
  RawPages pages(1024, 7);
  pages.make_interior(2, 6, {3, 7});
  pages.make_interior(3, 5, {4});
  for (std::uint32_t leaf : {4u, 5u, 6u, 7u}) pages.make_leaf(leaf, 0, 1024);
  std::vector<std::uint32_t> leaves = walk_table_btree(open(pages), 1024, 2);
  EXPECT_EQ(leaves, (std::vector<std::uint32_t>{6, 5, 4, 7}));
  std::sort(leaves.begin(), leaves.end());
  EXPECT_EQ(leaves, (std::vector<std::uint32_t>{4, 5, 6, 7}));
}

TEST_F(BtreeWalk, OtherPageTypesEndTheirBranch) {
  RawPages pages(1024, 5);
  pages.make_interior(2, 3, {4, 5});
  pages.page(3)[0] = 2;   // interior index page
  pages.make_leaf(4, 0, 1024);
  pages.page(5)[0] = 10;  // leaf index page
  EXPECT_EQ(walk_table_btree(open(pages), 1024, 2), std::vector<std::uint32_t>{4});
}

TEST_F(BtreeWalk, ChildPointerCycleIsCutWhereItCloses) {
  // 2 -> 3 -> 2 (right-most pointers), 3 also points at itself and at leaf 4.
  RawPages pages(1024, 4);
  pages.make_interior(2, 3, {});
  pages.make_interior(3, 2, {3, 4});
  pages.make_leaf(4, 0, 1024);
  EXPECT_EQ(walk_table_btree(open(pages), 1024, 2), std::vector<std::uint32_t>{4});
}

TEST_F(BtreeWalk, ChildPagesPastTheEndOfTheFileAndZeroAreIgnored) {
  RawPages pages(1024, 3);
  pages.make_interior(2, 900000, {0, 3, 0xFFFFFFFFu});
  pages.make_leaf(3, 0, 1024);
  EXPECT_EQ(walk_table_btree(open(pages), 1024, 2), std::vector<std::uint32_t>{3});
}

TEST_F(BtreeWalk, CellCountAndCellPointersOutsideThePageAreNotFollowed) {
  RawPages pages(1024, 3);
  pages.make_interior(2, 0, {3});
  pages.put16(2, 3, 0xFFFF);   // cell count far beyond what fits
  pages.put16(2, 14, 1022);    // second pointer: its 4 bytes would leave the page
  pages.make_leaf(3, 0, 1024);
  EXPECT_EQ(walk_table_btree(open(pages), 1024, 2), std::vector<std::uint32_t>{3});
}

TEST_F(BtreeWalk, LongChainOfInteriorPagesDoesNotExhaustTheStack) {
  const std::uint32_t count = 20000;
  RawPages pages(512, count + 2);
  for (std::uint32_t p = 2; p <= count; ++p) pages.make_interior(p, p + 1, {});
  pages.make_leaf(count + 1, 0, 512);
  EXPECT_EQ(walk_table_btree(open(pages), 512, 2), std::vector<std::uint32_t>{count + 1});
}

TEST_F(BtreeWalk, TruncatedFileEndsTheWalkWithWhatWasFound) {
  RawPages pages(1024, 4);
  pages.make_interior(2, 4, {3});
  pages.make_leaf(3, 0, 1024);
  pages.make_leaf(4, 0, 1024);
  pages.bytes().resize(3 * 1024 + 5);  // page 4 cut after 5 bytes: its type byte survives
  std::vector<std::uint32_t> leaves = walk_table_btree(open(pages), 1024, 2);
  EXPECT_EQ(leaves, (std::vector<std::uint32_t>{4, 3}));
  pages.bytes().resize(1024 + 6);  // the interior page's header is cut
  EXPECT_TRUE(walk_table_btree(open(pages), 1024, 2).empty());
}

TEST_F(BtreeWalk, OnlyPageSizesSqliteCanWriteAreAccepted) {
  RawPages pages(1024, 1);
  std::uint32_t size = 0;
  // The field value 1 stands for pages of 65536 bytes.
  for (auto [field, usable] : {std::pair{512u, 512u}, std::pair{1024u, 1024u}, std::pair{4096u, 4096u},
                               std::pair{32768u, 32768u}, std::pair{1u, 65536u}}) {
    pages.set_page_size_field(field);
    ASSERT_TRUE(read_page_size(open(pages), size)) << field;
    EXPECT_EQ(size, usable);
  }
  for (std::uint32_t bad : {0u, 2u, 256u, 1000u, 4095u, 0xFFFFu}) {
    pages.set_page_size_field(bad);
    EXPECT_FALSE(read_page_size(open(pages), size)) << bad;
  }
  pages.bytes().resize(17);
  EXPECT_FALSE(read_page_size(open(pages), size));
}

TEST_F(BtreeWalk, FreeblockChainIsKeptInChainOrderEvenWhenItPointsBackwards) {
  RawPages pages(1024, 4);
  pages.make_leaf(2, 2, 800, 100);
  pages.make_freeblock(2, 100, 600, 20);
  pages.make_freeblock(2, 600, 300, 20);
  pages.make_freeblock(2, 300, 0, 20);
  pages.make_leaf(3, 1, 900);  // no freeblocks: no entry
  pages.make_leaf(4, 1, 900, 200);
  pages.make_freeblock(4, 200, 0, 30);
  const FreeblockLists lists = build_freeblock_lists(open(pages), 1024, {2, 3, 4, 2});
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists.at(2), (std::vector<std::uint16_t>{100, 600, 300}));
  EXPECT_EQ(lists.at(4), (std::vector<std::uint16_t>{200}));
}

TEST_F(BtreeWalk, FreeblockCycleAndOffsetsLeavingThePageEndTheChain) {
  RawPages pages(1024, 3);
  pages.make_leaf(2, 0, 1024, 100);
  pages.make_freeblock(2, 100, 200, 8);
  pages.make_freeblock(2, 200, 100, 8);
  pages.make_leaf(3, 0, 1024, 400);
  pages.make_freeblock(3, 400, 1021, 8);  // the next header would leave the page
  const FreeblockLists lists = build_freeblock_lists(open(pages), 1024, {2, 3});
  EXPECT_EQ(lists.at(2), (std::vector<std::uint16_t>{100, 200}));
  EXPECT_EQ(lists.at(3), (std::vector<std::uint16_t>{400}));
}

}  // namespace
}  // namespace qf
