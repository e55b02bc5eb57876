#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

TEST(ExtractBmp, RecordedWithItsSizeField) {
  const bytes file = media("picture.bmp");
  disk_image image(file.size() + 4096);
  image.place(file, 0);
  scan_run run({"bmp"});
  EXPECT_EQ(run.extract(image.data, 0, 512), image.data.data() + file.size());
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0], (found{"bmp", "1.bmp", 512, file.size()}));
}

TEST(ExtractBmp, TallPictureIsFoundAndAnUnknownInfoHeaderSkipped) {
  bytes file = media("too_tall.bmp");
  ASSERT_EQ(le32(file.data() + 22), 2001u);
  scan_run run({"bmp"});
  EXPECT_EQ(run.extract(file), file.data() + file.size());
  EXPECT_EQ(run.files().size(), 1u);
  file[14] = 41;  // no version of the info header has this size
  scan_run skipped({"bmp"});
  EXPECT_EQ(skipped.extract(file), file.data() + 2);
  EXPECT_TRUE(skipped.files().empty());
}

TEST(ExtractBmp, SizeBeyondTheDataIsLeftToTheReRead) {
  const bytes file = media("picture.bmp");
  scan_run run({"bmp"});
  EXPECT_EQ(run.extract(truncated(file, file.size() - 1)), nullptr);
  const bytes short_data = truncated(file, 99);
  EXPECT_EQ(run.extract(short_data), short_data.data() + 2);
  EXPECT_TRUE(run.files().empty());
}

}  // namespace
}  // namespace qf::test
