#include <gtest/gtest.h>

#include "carve/carve_engine.h"
#include "tests/carve/scan_loop_test_support.h"
#include "tests/support/temp_dir.h"

namespace qf::test {
namespace {

constexpr std::uint64_t MiB = 1048576;
constexpr std::uint64_t KiB = 1024;

std::string block_name(std::uint64_t offset, const char* suffix) {
  return std::to_string(offset / 512) + "." + suffix;
}

std::vector<found> of_folder(const std::vector<found>& files, const std::string& folder) {
  std::vector<found> out;
  for (const auto& f : files) {
    if (f.folder == folder) out.push_back(f);
  }
  return out;
}

TEST(ScanLoop, AllTypesInQuickModeFindEveryFileAtItsOffsetWithItsLength) {
  struct placed {
    const char* file;
    std::uint64_t offset;
    const char* folder;
    const char* suffix;
  };
  // Chunks of 1 MiB; some files cross a chunk end and are re-read from the device.
  const placed files[] = {
      {"photo_jfif.jpg", 64 * KiB, "jpg", "jpg"},       {"photo_exif_thumb.jpg", MiB - 2 * KiB, "jpg", "jpg"},
      {"still_87a.gif", 300 * KiB, "gif", "gif"},       {"animated_89a.gif", 2 * MiB - 8 * KiB, "gif", "gif"},
      {"picture.bmp", 600 * KiB, "bmp", "bmp"},         {"clip.wmv", 3 * MiB - 3 * KiB, "wmv", "wmv"},
      {"clip.avi", 700 * KiB, "rif", "avi"},            {"tone.wav", 3 * MiB - KiB, "rif", "wav"},
      {"picture.png", 1200 * KiB, "png", "png"},        {"program.mpg", 2 * MiB + 64 * KiB, "mpg", "mpg"},
  };
  disk_image image(4 * MiB);
  std::vector<found> expected;
  for (const auto& p : files) {
    const bytes file = media(p.file);
    image.place(file, p.offset);
    expected.push_back({p.folder, block_name(p.offset, p.suffix), p.offset, file.size()});
  }
  scan_run run({"all"});
  EXPECT_EQ(run.scan(image.data, 1), 0);
  const std::vector<found> got = run.files();
  for (const char* folder : {"jpg", "gif", "bmp", "wmv", "rif", "png", "mpg"}) {
    std::vector<found> want = of_folder(expected, folder);
    std::sort(want.begin(), want.end(), [](const found& a, const found& b) { return a.offset < b.offset; });
    EXPECT_EQ(of_folder(got, folder), want) << folder;
  }
  EXPECT_EQ(got.size(), expected.size());
  EXPECT_EQ(run.state.files_found, static_cast<int>(expected.size()));
}

TEST(ScanLoop, QuickTimeIsFoundByTheSkipTableSearchFromItsMoovAtom) {
  // A movie with ftyp first has its moov type 24 bytes in: quick mode only
  // tests sector starts, the skip-table search finds it anywhere.
  const bytes movie = media("movie_faststart.mov");
  disk_image image(2 * MiB);
  image.place(movie, 512 * KiB);
  scan_run quick({"mov"});
  quick.scan(image.data, 1);
  EXPECT_TRUE(quick.files().empty());
  scan_run full({"mov"}, 0);
  full.scan(image.data, 1);
  const std::uint64_t atom = 512 * KiB + 20;
  EXPECT_EQ(full.files(), (std::vector<found>{{"mov", block_name(atom, "mov"), atom, movie.size() - 20}}));
}

TEST(ScanLoop, QuickModeMissesAHeader100BytesIntoASector) {
  const bytes jpeg = media("photo_jfif.jpg");
  disk_image image(MiB);
  image.place(jpeg, 8 * KiB + 100);
  scan_run quick({"jpg"});
  quick.scan(image.data, 1);
  EXPECT_TRUE(quick.files().empty());
  scan_run full({"jpg"}, 0);
  full.scan(image.data, 1);
  EXPECT_EQ(full.files(), (std::vector<found>{{"jpg", "16.jpg", 8 * KiB + 100, jpeg.size()}}));
}

TEST(ScanLoop, FileCrossingTheChunkEndIsSizedWithoutAReReadAndTheSearchGoesOnAfterIt) {
  // A bitmap whose size field (1.5 MiB) runs past the 1 MiB chunk: its size
  // field delimits it, no bytes of it are read again.
  bytes claimed = media("picture.bmp");
  const std::uint32_t claimed_size = 1536 * KiB;
  for (int i = 0; i < 4; ++i) claimed[2 + i] = static_cast<unsigned char>(claimed_size >> (8 * i));
  const bytes bmp = media("picture.bmp");
  const bytes jpeg = media("photo_jfif.jpg");
  disk_image image(4 * MiB);
  image.place(claimed, 512 * KiB);
  image.place(bmp, 768 * KiB);        // inside the re-read file: not searched
  image.place(bmp, 2 * MiB + 512);     // after it: found
  image.place(jpeg, 800 * KiB);       // another type in that chunk: still found
  image.place(bmp, MiB + 256 * KiB);  // next chunk, still inside it: not searched
  scan_run run({"bmp", "jpg"});
  run.scan(image.data, 1);
  EXPECT_EQ(run.files(), (std::vector<found>{{"bmp", "1024.bmp", 512 * KiB, claimed_size},
                                            {"bmp", "4097.bmp", 2 * MiB + 512, bmp.size()},
                                            {"jpg", "1600.jpg", 800 * KiB, jpeg.size()}}));
  // Besides the chunks, at most a small window to see that its end is on the device.
  EXPECT_EQ(std::find(run.reads.begin(), run.reads.end(), 512 * KiB), run.reads.end());
}

// An extractor following a file into the next chunk brings that chunk in
// early; the scan then searches it from memory: every byte is read once.
TEST(ScanLoop, FilesCrossingAChunkEndAreNotReadTwice) {
  constexpr std::uint64_t chunk = 128 * KiB;  // longer than an extractor's window
  const bytes jpeg = media("photo_exif_thumb.jpg");
  const bytes mpeg = media("program.mpg");
  const bytes png = media("picture.png");
  disk_image image(6 * chunk - 1000);  // and a short last read
  image.place(jpeg, chunk - 2 * KiB);
  image.place(png, 3 * chunk - 512);
  image.place(mpeg, 5 * chunk - 4 * KiB);
  scan_run run({"jpg", "png", "mpg"});
  run.scan_chunks(image.data, chunk);
  EXPECT_EQ(run.files(), (std::vector<found>{{"jpg", block_name(chunk - 2 * KiB, "jpg"), chunk - 2 * KiB, jpeg.size()},
                                            {"png", block_name(3 * chunk - 512, "png"), 3 * chunk - 512, png.size()},
                                            {"mpg", block_name(5 * chunk - 4 * KiB, "mpg"), 5 * chunk - 4 * KiB, mpeg.size()}}));
  std::vector<std::uint64_t> chunk_starts;
  for (std::uint64_t at = 0; at < image.data.size(); at += chunk) chunk_starts.push_back(at);
  EXPECT_EQ(run.reads, chunk_starts);
}

TEST(ScanLoop, FilesCrossingAChunkEndNearTheDeviceEndAreReadToTheDeviceEnd) {
  // The type limits (20 MiB) reach far past the end of this 3.5 MiB device.
  const bytes jpeg = media("photo_exif_thumb.jpg");
  const bytes wav = media("tone.wav");
  disk_image image(3 * MiB + 512 * KiB);
  image.place(jpeg, 2 * MiB - KiB);
  image.place(wav, 3 * MiB - 512);
  scan_run run({"jpg", "wav"});
  run.scan(image.data, 1);
  EXPECT_EQ(run.files(), (std::vector<found>{{"jpg", block_name(2 * MiB - KiB, "jpg"), 2 * MiB - KiB, jpeg.size()},
                                            {"wav", block_name(3 * MiB - 512, "wav"), 3 * MiB - 512, wav.size()}}));
}

TEST(ScanLoop, FileTruncatedByTheDeviceEndIsNotRecorded) {
  const bytes jpeg = media("photo_exif_thumb.jpg");
  disk_image image(MiB + 2 * KiB);
  image.place(truncated(jpeg, 2 * KiB), MiB);
  scan_run run({"jpg"});
  run.scan(image.data, 1);
  EXPECT_TRUE(run.files().empty());
}

TEST(ScanLoop, TenMiBPartitionIsReadInThreeFourMiBChunks) {
  const bytes jpeg = media("photo_jfif.jpg");
  disk_image image(16 * MiB);
  const std::uint64_t start = 2 * MiB;
  image.place(jpeg, start + 11 * MiB);  // in the third chunk, past the partition's end
  scan_run run({"jpg"});
  std::vector<std::pair<std::uint64_t, std::uint64_t>> after_chunks;
  struct progress_log {
    static int call(std::uint64_t total, std::uint64_t done, cdr_found_file*, void* user) {
      auto* log = static_cast<std::vector<std::pair<std::uint64_t, std::uint64_t>>*>(user);
      if (done % (4 * MiB) == 2 * MiB && (log->empty() || log->back().second != done)) log->push_back({total, done});
      return 0;
    }
  };
  run.state.progress = &progress_log::call;
  run.state.user_data = &after_chunks;
  run.scan(image.data, 4, start, 10 * MiB);
  EXPECT_EQ(run.reads, (std::vector<std::uint64_t>{start, start + 4 * MiB, start + 8 * MiB}));
  EXPECT_EQ(run.files(), (std::vector<found>{{"jpg", block_name(start + 11 * MiB, "jpg"), start + 11 * MiB, jpeg.size()}}));
  ASSERT_FALSE(after_chunks.empty());
  EXPECT_EQ(after_chunks.back(), std::make_pair(start + 10 * MiB, start + 12 * MiB));
}

TEST(ScanLoop, AbortFromTheCallbackStopsTheScanAtOnce) {
  const bytes jpeg = media("photo_jfif.jpg");
  disk_image image(4 * MiB);
  image.place(jpeg, 64 * KiB);
  image.place(jpeg, 128 * KiB);
  image.place(jpeg, 2 * MiB);
  for (std::uint32_t mode : {kModeQuick, kModeQuick | kModeQuiet}) {
    scan_run run({"jpg", "bmp"}, mode);
    struct abort_after_first_file {
      static int call(std::uint64_t, std::uint64_t, cdr_found_file* file, void* user) {
        bool& seen = *static_cast<bool*>(user);
        if (file) seen = true;
        return seen ? kCarveAbort : 0;
      }
    };
    bool seen = false;
    run.state.progress = &abort_after_first_file::call;
    run.state.user_data = &seen;
    run.scan(image.data, 1);
    EXPECT_EQ(run.files().size(), 1u) << mode;
    EXPECT_EQ(run.reads.size(), 1u) << mode;
  }
}

TEST(ScanLoop, HeaderDumpRecordsHeadersTheExtractorLeft) {
  bytes not_a_jpeg{0xFF, 0xD8, 0xFF, 0xDB};
  disk_image image(MiB);
  image.place(not_a_jpeg, 1000 * KiB);
  scan_run run({"jpg"}, kModeQuick | kModeHeaderDump);
  run.scan(image.data, 1);
  EXPECT_EQ(run.files(), (std::vector<found>{{"jpg", "2000.jpg", 1000 * KiB, 24 * KiB}}));
}

TEST(ScanLoop, IndirectBlockAfterTwelveBlocksIsLeftOutAndPutBack) {
  const bytes gif = media("animated_89a.gif");
  const bytes bmp = media("picture.bmp");
  // The file as an ext2-style file system stores it with 1 KiB blocks: its
  // 13th block is preceded by a block listing the block numbers after it.
  bytes stored(gif.begin(), gif.begin() + 12 * KiB);
  bytes indirect(KiB, 0);
  for (std::uint32_t k = 0; k < 10; ++k) {
    for (int i = 0; i < 4; ++i) indirect[4 * k + i] = static_cast<unsigned char>((5000 + k) >> (8 * i));
  }
  stored.insert(stored.end(), indirect.begin(), indirect.end());
  stored.insert(stored.end(), gif.begin() + 12 * KiB, gif.end());
  disk_image image(MiB);
  image.place(stored, 64 * KiB);
  image.place(bmp, 128 * KiB);
  const bytes before = image.data;
  scan_run run({"gif", "bmp"}, kModeQuick | kModeIndirect);
  run.scan(image.data, 1);
  EXPECT_EQ(run.files(), (std::vector<found>{{"gif", "128.gif", 64 * KiB, gif.size()},
                                            {"bmp", "256.bmp", 128 * KiB, bmp.size()}}));
  scan_run plain({"gif"});
  plain.scan(image.data, 1);
  EXPECT_TRUE(plain.files().empty());  // without detection the stored bytes are no GIF
}

TEST(ScanLoop, ImageFileScannedThroughTheEngine) {
  const bytes png = media("picture.png");
  disk_image image(3 * MiB);
  image.place(png, MiB + 4 * KiB);
  TempDir dir;
  const std::string path = dir.file("card.img");
  write_file(path, image.data);
  cdr_node* disk = cdr_open_image(nullptr, nullptr, path);
  cdr_node* partition = disk->first_child;
  EXPECT_EQ(cdr_scan_partition(nullptr, partition, 1, nullptr, nullptr), 0);
  std::vector<found> got;
  for (const cdr_node* folder = partition->first_child; folder; folder = folder->next) {
    for (const cdr_found_file* f = folder->first_file; f; f = f->next) got.push_back({folder->name, f->name, f->offset, f->size});
  }
  EXPECT_EQ(got, (std::vector<found>{{"png", block_name(MiB + 4 * KiB, "png"), MiB + 4 * KiB, png.size()}}));
  cdr_free_tree(nullptr, disk);
}

TEST(ScanLoop, InputWithoutAHandleIsRefused) {
  carve_state state;
  init_carve_state(state);
  cdr_node node;
  state.partition = &node;
  state.input_path = "/no/such/device";
  testing::internal::CaptureStderr();
  EXPECT_EQ(carve_scan_input(state), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("/no/such/device"), std::string::npos);
}

}  // namespace
}  // namespace qf::test
