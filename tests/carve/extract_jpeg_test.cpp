#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

std::size_t first_end_marker(const bytes& data, std::size_t from) {
  for (std::size_t i = from; i + 1 < data.size(); ++i) {
    if (data[i] == 0xFF && data[i + 1] == 0xD9) return i;
  }
  return data.size();
}

TEST(ExtractJpeg, JfifAndExifWithThumbnailEndAtTheMainImageEnd) {
  for (const char* name : {"photo_jfif.jpg", "photo_exif_thumb.jpg"}) {
    const bytes file = media(name);
    disk_image image(64 * 1024);
    image.place(file, 1024);
    scan_run run({"jpg"});
    bytes data(image.data.begin() + 1024, image.data.end());
    const unsigned char* next = run.extract(data, 0, 4096);
    ASSERT_EQ(run.files().size(), 1u) << name;
    EXPECT_EQ(run.files()[0], (found{"jpg", "8.jpg", 4096, file.size()})) << name;
    EXPECT_EQ(next, data.data() + file.size()) << name;
  }
  // The thumbnail's own end marker comes first: a footer search alone would cut there.
  const bytes exif = media("photo_exif_thumb.jpg");
  EXPECT_LT(first_end_marker(exif, 2) + 2, exif.size());
}

TEST(ExtractJpeg, TablesFirstIsCarvedButAnImpossibleFirstMarkerIsSkipped) {
  bytes file = media("photo_jfif.jpg");
  // FF D8 FF DB: the JFIF segment taken out, quantisation table first, as
  // some cameras and encoders write it.
  const std::size_t app0 = 4 + ((file[4] << 8) | file[5]);
  bytes bare(file.begin(), file.begin() + 2);
  bare.insert(bare.end(), file.begin() + static_cast<std::ptrdiff_t>(app0 - 2 + 2), file.end());
  ASSERT_EQ(bare[3], 0xDB);
  const std::size_t size = bare.size();
  bare.resize(4096, 0);
  scan_run run({"jpg"});
  EXPECT_EQ(run.extract(bare), bare.data() + size);
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0].size, size);
  bare[3] = 0xD9;  // an end marker cannot open a picture
  scan_run skipped({"jpg"});
  EXPECT_EQ(skipped.extract(bare), bare.data() + 3);
  EXPECT_TRUE(skipped.files().empty());
}

TEST(ExtractJpeg, TruncatedOrShortGivesUpWithoutReadingPastTheData) {
  const bytes file = media("photo_exif_thumb.jpg");
  scan_run run({"jpg"});
  for (std::size_t cut : {std::size_t{100}, std::size_t{127}, std::size_t{600}, file.size() - 1}) {
    EXPECT_EQ(run.extract(truncated(file, cut)), nullptr) << cut;
  }
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractJpeg, SegmentLengthPointingPastTheDataGivesUp) {
  bytes file = media("photo_jfif.jpg");
  file[4] = 0xFF;  // APP0 length 0xFF10: far beyond the file
  scan_run run({"jpg"});
  EXPECT_EQ(run.extract(file), nullptr);
  EXPECT_TRUE(run.files().empty());
}

}  // namespace
}  // namespace qf::test
