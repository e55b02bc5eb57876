#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

TEST(ExtractWmv, AsfFromFfmpegIsRecordedWithItsFileSize) {
  const bytes file = media("clip.wmv");
  disk_image image(file.size() + 4096);
  image.place(file, 0);
  scan_run run({"wmv"});
  EXPECT_EQ(run.extract(image.data, 0, 2048), image.data.data() + file.size());
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0], (found{"wmv", "4.wmv", 2048, file.size()}));
}

TEST(ExtractWmv, BadHeaderObjectCountGoesOnAt30) {
  bytes file = media("clip.wmv");
  file[24] = file[25] = file[26] = file[27] = 0;
  scan_run run({"wmv"});
  // Diagnostics go to the caller's note callback, never to the terminal.
  std::string notes;
  run.state.user_data = &notes;
  run.state.note = [](const std::string& text, void* user) { *static_cast<std::string*>(user) += text; };
  testing::internal::CaptureStdout();
  EXPECT_EQ(run.extract(file), file.data() + 30);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_NE(notes.find("WMV err num_header_objs=0"), std::string::npos);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractWmv, TruncatedOrWithoutFilePropertiesGivesUp) {
  const bytes file = media("clip.wmv");
  scan_run run({"wmv"});
  for (std::size_t cut : {std::size_t{69}, std::size_t{100}, file.size() - 1}) {
    EXPECT_EQ(run.extract(truncated(file, cut)), nullptr) << cut;
  }
  EXPECT_TRUE(run.files().empty());
}

}  // namespace
}  // namespace qf::test
