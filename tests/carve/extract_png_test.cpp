#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

TEST(ExtractPng, RecordedThroughTheIendCrc) {
  const bytes file = media("picture.png");
  disk_image image(file.size() + 4096);
  image.place(file, 0);
  scan_run run({"png"});
  EXPECT_EQ(run.extract(image.data), image.data.data() + file.size());
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0], (found{"png", "0.png", 0, file.size()}));
  // The last 12 bytes are the IEND chunk: length 0, type, CRC.
  EXPECT_EQ(std::string(file.end() - 8, file.end() - 4), "IEND");
}

TEST(ExtractPng, WidePanoramaIsFoundAndAHeaderWithABadCrcSkipped) {
  bytes file = media("too_wide.png");
  ASSERT_EQ(be32(file.data() + 16), 4000u);
  const std::size_t size = file.size();
  file.resize(4096, 0);
  scan_run run({"png"});
  EXPECT_EQ(run.extract(file), file.data() + size);
  EXPECT_EQ(run.files().size(), 1u);
  file[16] ^= 1;  // the width no longer matches the header's CRC
  scan_run bad({"png"});
  EXPECT_EQ(bad.extract(file), file.data() + 8);
  EXPECT_TRUE(bad.files().empty());
}

TEST(ExtractPng, RunningOutOfDataGivesUpWithinTheLimitAndGoesOnBeyondIt) {
  const bytes file = media("picture.png");
  scan_run run({"png"});
  const bytes cut = truncated(file, file.size() - 6);
  EXPECT_EQ(run.extract(cut), nullptr);  // the loop re-reads it from the device
  run.entry(0).max_len = cut.size();     // as much data as the type allows: not a PNG
  EXPECT_NE(run.extract(cut), nullptr);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractPng, ChunkLengthPastTwoGiBOrATypeOfNonLettersGoesOnAtThatChunk) {
  const std::size_t second_chunk = 8 + 12 + 13;  // after IHDR
  for (std::size_t at : {second_chunk, second_chunk + 4}) {
    bytes file = media("picture.png");
    file.resize(4096, 0);
    file[at] = 0x80;
    scan_run run({"png"});
    EXPECT_EQ(run.extract(file), file.data() + second_chunk);
    EXPECT_TRUE(run.files().empty());
  }
}

}  // namespace
}  // namespace qf::test
