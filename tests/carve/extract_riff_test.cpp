#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

bytes wave_with_size(std::uint32_t n) {
  bytes b = ascii("RIFF");
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(n >> (8 * i)));
  const bytes rest = ascii("WAVEfmt ");
  b.insert(b.end(), rest.begin(), rest.end());
  b.resize(n + 8 + 512, 0x33);
  return b;
}

TEST(ExtractRiff, AviAndWavFromFfmpegAreRecordedWithTheirSuffix) {
  const struct {
    const char* file;
    const char* type;
    const char* name;
  } cases[] = {{"clip.avi", "avi", "0.avi"}, {"clip.avi", "rif", "0.avi"},
               {"tone.wav", "rif", "0.wav"}, {"tone.wav", "wav", "0.wav"}};
  for (const auto& c : cases) {
    const bytes file = media(c.file);
    disk_image image(file.size() + 4096);
    image.place(file, 0);
    scan_run run({c.type});
    run.extract(image.data);
    ASSERT_EQ(run.files().size(), 1u) << c.file << " as " << c.type;
    EXPECT_EQ(run.files()[0], (found{c.type, c.name, 0, file.size()})) << c.file << " as " << c.type;
  }
}

TEST(ExtractRiff, WaveOfSize1000IsRecordedWith1008Bytes) {
  const bytes wave = wave_with_size(1000);
  scan_run run({"wav"});
  EXPECT_EQ(run.extract(wave), wave.data() + 1000);
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0].size, 1008u);
}

TEST(ExtractRiff, WaveIsSkippedByTheAviFilter) {
  const bytes wave = wave_with_size(1000);
  scan_run run({"avi"});
  EXPECT_EQ(run.extract(wave), wave.data() + 1000);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractRiff, FileRunningPastTheDataGivesUpSoTheLoopReReadsIt) {
  const bytes file = media("tone.wav");
  scan_run run({"wav"});
  EXPECT_EQ(run.extract(truncated(file, 1024)), nullptr);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractRiff, FileWhoseLastEightBytesLiePastTheDataIsNotRecorded) {
  // The chunk size fits, the whole file (8 bytes more) does not: a record
  // would claim bytes past the end of the device.
  const bytes file = media("tone.wav");
  for (std::size_t cut = 1; cut <= 8; ++cut) {
    scan_run run({"wav"});
    EXPECT_EQ(run.extract(truncated(file, file.size() - cut)), nullptr) << cut;
    EXPECT_TRUE(run.files().empty()) << cut;
  }
  scan_run whole({"wav"});
  whole.extract(file);
  EXPECT_EQ(whole.files().size(), 1u);
}

TEST(ExtractRiff, OtherFormsAndImpossibleSizesGoOn) {
  bytes other = wave_with_size(1000);
  other[8] = 'X';
  bytes zero = wave_with_size(1000);
  zero[4] = zero[5] = zero[6] = zero[7] = 0;
  bytes huge = wave_with_size(1000);
  huge[6] = 0x7F;  // beyond max_len
  scan_run run({"rif"});
  run.entry(0).max_len = 1048576;
  for (const bytes* b : {&other, &zero, &huge}) EXPECT_EQ(run.extract(*b), b->data() + 4);
  EXPECT_TRUE(run.files().empty());
}

}  // namespace
}  // namespace qf::test
