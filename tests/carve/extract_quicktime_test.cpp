#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

std::size_t moov_type_at(const bytes& file) {
  const std::string text(file.begin(), file.end());
  return text.find("moov");
}

TEST(ExtractQuicktime, MoovThenMdatIsRecordedFromTheMoovAtom) {
  const bytes file = media("movie_faststart.mov");
  const std::size_t type = moov_type_at(file);
  ASSERT_NE(type, std::string::npos);
  disk_image image(file.size() + 8192);
  image.place(file, 0);
  scan_run run({"mov"});
  const unsigned char* next = run.extract(image.data, type, 1 << 20);
  ASSERT_EQ(run.files().size(), 1u);
  // The movie runs from the moov atom (4 bytes before its type) to the end of mdat.
  EXPECT_EQ(run.files()[0], (found{"mov", "2048.mov", (1 << 20) + type - 4, file.size() - (type - 4)}));
  EXPECT_EQ(next, image.data.data() + file.size());
}

TEST(ExtractQuicktime, MoovWithoutMdatAfterItIsNotRecorded) {
  const bytes file = media("movie_moov_last.mov");
  const std::size_t type = moov_type_at(file);
  disk_image image(file.size() + 8192);
  image.place(file, 0);
  scan_run run({"mov"});
  EXPECT_NE(run.extract(image.data, type), nullptr);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractQuicktime, AtomStartBeforeTheDataIsLeftToTheReRead) {
  const bytes file = media("movie_faststart.mov");
  const std::size_t type = moov_type_at(file);
  const bytes from_type(file.begin() + static_cast<std::ptrdiff_t>(type), file.end());
  scan_run run({"mov"});
  // No bytes before the match inside this chunk, but the device has them.
  EXPECT_EQ(run.extract(from_type, 0, 4096), nullptr);
  // At the very start of the device there is no atom size at all.
  EXPECT_EQ(run.extract(from_type, 0, 0), from_type.data() + 4);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractQuicktime, AtomsPastTheDataGiveUpAndBadSizesGoOn) {
  bytes file = media("movie_faststart.mov");
  const std::size_t type = moov_type_at(file);
  scan_run run({"mov"});
  EXPECT_EQ(run.extract(truncated(file, file.size() - 1), type), nullptr);
  file[type - 4] = file[type - 3] = file[type - 2] = file[type - 1] = 0;  // atom size 0
  EXPECT_EQ(run.extract(file, type), file.data() + type + 4);
  EXPECT_TRUE(run.files().empty());
}

// Quick mode tests headers at block starts, but a movie's header is the atom
// type 4 bytes into the file: a movie whose first atom is moov, starting at a
// sector, is found there. (One that starts with an ftyp atom has its moov
// further in, off any block start, and quick mode does not see it.)
TEST(ExtractQuicktime, QuickModeFindsAMoovFirstMovieAtASectorStart) {
  const bytes with_ftyp = media("movie_faststart.mov");
  const std::size_t atom = moov_type_at(with_ftyp) - 4;
  const bytes movie(with_ftyp.begin() + static_cast<std::ptrdiff_t>(atom), with_ftyp.end());
  disk_image image(1048576);
  image.place(movie, 64 * 1024);
  image.place(movie, 128 * 1024 + 100);  // not at a sector start: not found
  image.place(with_ftyp, 256 * 1024);     // moov off the block start: not found
  scan_run run({"mov"});
  run.scan(image.data, 1);
  const std::vector<found> files = run.files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].offset, 64u * 1024);
  EXPECT_EQ(files[0].size, movie.size());
}

}  // namespace
}  // namespace qf::test
