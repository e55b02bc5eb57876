#include "records/scan_region.h"

#include <gtest/gtest.h>

#include "tests/records/raw_pages.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

using test::RawPages;

class ScanRegionCut : public ::testing::Test {
 protected:
  PageAt open(const RawPages& pages, std::uint32_t page) {
    const std::string path = dir_.file("regions.db");
    pages.save(path);
    EXPECT_TRUE(file_.open(path));
    return PageAt{file_, pages.page_size(), page};
  }
  std::vector<std::uint8_t> bytes() const {
    return {region_.buffer.begin(), region_.buffer.begin() + static_cast<std::ptrdiff_t>(region_.length)};
  }

  test::TempDir dir_{"qf-regions"};
  DbFile file_;
  ScanRegion region_;
};

TEST_F(ScanRegionCut, ContactsFreeblockIsCutAfterAHeaderLengthByte) {
  RawPages pages(1024, 3);
  pages.make_leaf(2, 1, 900, 200);
  pages.make_freeblock(2, 200, 0, 12);
  for (int i = 0; i < 8; ++i) pages.page(2)[204 + i] = static_cast<std::uint8_t>(0x1C + i);
  ASSERT_TRUE(cut_contacts_freeblock_region(open(pages, 2), 200, region_));
  EXPECT_EQ(bytes(), (std::vector<std::uint8_t>{0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23}));
  pages.page(2)[204] = 0x00;
  ASSERT_TRUE(cut_contacts_freeblock_region(open(pages, 2), 200, region_));
  EXPECT_EQ(bytes(), (std::vector<std::uint8_t>{0x00, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23}));
}

TEST_F(ScanRegionCut, SmsFreeblockIsItsContentAfterTheFourHeaderBytes) {
  RawPages pages(1024, 2);
  pages.make_leaf(2, 1, 900, 300);
  pages.make_freeblock(2, 300, 0, 7);
  pages.page(2)[304] = 0x1C;
  pages.page(2)[305] = 0x01;
  pages.page(2)[306] = 0x02;
  ASSERT_TRUE(cut_sms_freeblock_region(open(pages, 2), 300, region_));
  EXPECT_EQ(bytes(), (std::vector<std::uint8_t>{0x1C, 0x01, 0x02}));
}

TEST_F(ScanRegionCut, FourByteFreeblockWithAHighFifthByteGivesNoRegion) {
  // Z - 5 = -1: as a 16-bit length that would be 65535 bytes of the pages
  // behind this one, live rows included.
  RawPages pages(1024, 80);
  pages.make_leaf(2, 1, 900, 500);
  pages.make_freeblock(2, 500, 0, 4);
  pages.page(2)[504] = 0x30;
  EXPECT_FALSE(cut_contacts_freeblock_region(open(pages, 2), 500, region_));
  EXPECT_EQ(region_.length, 0u);
  pages.make_freeblock(2, 500, 0, 3);  // smaller than its own header
  EXPECT_FALSE(cut_sms_freeblock_region(open(pages, 2), 500, region_));
}

TEST_F(ScanRegionCut, RegionsAreCutAtTheirPageEnd) {
  RawPages pages(1024, 3);
  pages.make_leaf(2, 1, 900, 1000);
  pages.make_freeblock(2, 1000, 0, 0xFFFF);
  pages.page(3)[0] = 0xEE;  // must never show up in page 2's region
  ASSERT_TRUE(cut_sms_freeblock_region(open(pages, 2), 1000, region_));
  EXPECT_EQ(region_.length, 20u);
  ASSERT_TRUE(cut_contacts_freeblock_region(open(pages, 2), 1000, region_));
  EXPECT_EQ(region_.length, 20u);
  pages.make_leaf(2, 0, 0xFFFF);  // content start beyond the page
  ASSERT_TRUE(cut_gap_region(open(pages, 2), region_));
  EXPECT_EQ(region_.length, 1024u - 8u);
}

TEST_F(ScanRegionCut, GapRunsFromTheCellPointerArrayToTheCellContent) {
  RawPages pages(1024, 2);
  pages.make_leaf(2, 3, 40);
  pages.page(2)[14] = 0xAB;  // first byte after three cell pointers
  ASSERT_TRUE(cut_gap_region(open(pages, 2), region_));
  EXPECT_EQ(region_.length, 40u - 8u - 6u);
  EXPECT_EQ(region_.buffer[0], 0xAB);
  pages.make_leaf(2, 3, 14);  // no gap
  EXPECT_FALSE(cut_gap_region(open(pages, 2), region_));
  pages.make_leaf(2, 20, 14);  // content start inside the pointer array
  EXPECT_FALSE(cut_gap_region(open(pages, 2), region_));
}

TEST_F(ScanRegionCut, RegionCutOffByTheEndOfTheFileIsShorter) {
  RawPages pages(1024, 2);
  pages.make_leaf(2, 0, 1000);
  pages.bytes().resize(1024 + 100);
  ASSERT_TRUE(cut_gap_region(open(pages, 2), region_));
  EXPECT_EQ(region_.length, 92u);
}

}  // namespace
}  // namespace qf
