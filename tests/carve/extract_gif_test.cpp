#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

TEST(ExtractGif, StillAndAnimatedAreRecordedWhole) {
  for (const char* name : {"still_87a.gif", "animated_89a.gif"}) {
    const bytes file = media(name);
    disk_image image(file.size() + 8192);
    image.place(file, 0);
    scan_run run({"gif"});
    const unsigned char* next = run.extract(image.data, 0, 1 << 20);
    ASSERT_EQ(run.files().size(), 1u) << name;
    EXPECT_EQ(run.files()[0], (found{"gif", "2048.gif", 1 << 20, file.size()})) << name;
    EXPECT_EQ(next, image.data.data() + file.size());
  }
}

TEST(ExtractGif, AnimatedGifHoldsTheFooterBytesInsideItsImageData) {
  // What makes a search for 00 3B cut it short; the block walk goes past it.
  const bytes file = media("animated_89a.gif");
  const bytes footer{0x00, 0x3B};
  const auto inner = std::search(file.begin() + 6, file.end(), footer.begin(), footer.end());
  EXPECT_LT(inner - file.begin() + 2, static_cast<std::ptrdiff_t>(file.size()));
}

TEST(ExtractGif, Version88aIsSkippedFourBytesOn) {
  bytes file = media("still_87a.gif");
  file[4] = '8';
  scan_run run({"gif"});
  EXPECT_EQ(run.extract(file), file.data() + 4);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractGif, TruncatedGivesUpAndCorruptBlocksGoOn) {
  const bytes file = media("animated_89a.gif");
  scan_run run({"gif"});
  for (std::size_t cut : {std::size_t{5}, std::size_t{12}, std::size_t{800}, file.size() - 1}) {
    EXPECT_EQ(run.extract(truncated(file, cut)), nullptr) << cut;
  }
  bytes corrupt = file;
  const std::size_t first_block = 13 + (3u << ((file[10] & 7) + 1));
  corrupt[first_block] = 0x77;  // neither extension, image nor trailer
  EXPECT_EQ(run.extract(corrupt), corrupt.data() + 4);
  EXPECT_TRUE(run.files().empty());
}

}  // namespace
}  // namespace qf::test
