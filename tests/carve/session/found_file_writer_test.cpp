// The carve command's writer: found files written from the scan's own chunks
// while it runs, listed in the same manifest whatever the chunk size or the
// timing between the scan and the writer.
#include "carve/found_file_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sstream>
#include <thread>

#include "carve/found_file_handoff.h"
#include "tests/carve/scan_loop_test_support.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

std::string read_text(const fs::path& path) {
  const test::bytes data = test::read_file(path.u8string());
  return {data.begin(), data.end()};
}

// Real files at sector offsets, so that small chunks cut many of them.
test::bytes card_of_real_files() {
  test::disk_image image(384 * 1024);
  std::uint64_t at = 512;
  for (const char* name : {"photo_exif_thumb.jpg", "animated_89a.gif", "picture.bmp", "picture.png", "program.mpg",
                           "movie_faststart.mov", "clip.avi", "tone.wav", "clip.wmv", "photo_jfif.jpg"}) {
    for (int copy = 0; copy < 2; ++copy) {
      const test::bytes file = test::media(name);
      image.place(file, at);
      at = (at + file.size() + 511) / 512 * 512 + 3 * 512;
    }
  }
  return image.data;
}

struct written_run {
  std::string manifest;
  std::uint64_t reread = 0;
};

// One scan of `image` in chunks of `chunk` bytes, its files written into
// `dir` from a hand-off of `capacity` bytes by this thread while the scan runs
// on another.
written_run scan_and_write(const test::bytes& image, std::uint64_t chunk, std::size_t capacity, const fs::path& dir) {
  test::scan_run run({"all"});
  found_file_handoff handoff(capacity);
  run.state.observer = &handoff;
  carve_manifest manifest;
  EXPECT_TRUE(manifest.open(dir.u8string()));
  found_file_writer writer(dir.u8string(), manifest);
  std::atomic<bool> scanned{false};
  std::thread scan([&] {
    run.scan_chunks(image, chunk);
    scanned = true;
  });
  for (;;) {
    const bool over = scanned;
    handoff_piece piece;
    if (!handoff.take(piece, std::chrono::milliseconds(5))) {
      if (over) break;
      continue;
    }
    EXPECT_TRUE(writer.handle(piece));
    handoff.release(piece);
  }
  scan.join();
  writer.finish();
  EXPECT_TRUE(manifest.close());
  return {read_text(dir / "manifest.csv"), handoff.bytes_reread()};
}

// Every line names a file holding exactly the image's bytes at its offset,
// and the lines go in offset order.
void expect_rows_match_image(const std::string& manifest, const test::bytes& image, const fs::path& dir) {
  std::istringstream lines(manifest);
  std::string line;
  std::getline(lines, line);
  std::uint64_t previous = 0;
  int rows = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string name, type, offset, size;
    std::getline(fields, name, ',');
    std::getline(fields, type, ',');
    std::getline(fields, offset, ',');
    std::getline(fields, size, ',');
    const std::uint64_t at = std::stoull(offset);
    EXPECT_GE(at, previous) << line;
    previous = at;
    const test::bytes written = test::read_file((dir / fs::u8path(name)).u8string());
    ASSERT_EQ(written.size(), std::stoull(size)) << line;
    EXPECT_TRUE(std::equal(written.begin(), written.end(), image.begin() + static_cast<std::ptrdiff_t>(at))) << line;
    ++rows;
  }
  EXPECT_GE(rows, 20);
}

TEST(FoundFileWriter, ManifestIsTheSameWhateverTheChunkSizeAndTheWritersPace) {
  const test::bytes image = card_of_real_files();
  struct setting {
    std::uint64_t chunk;
    std::size_t capacity;
    const char* what;
  } const settings[] = {
      {1048576, found_file_handoff::kDefaultCapacity, "one chunk holds the whole card"},
      {16384, found_file_handoff::kDefaultCapacity, "files cross chunk ends"},
      {4096, found_file_handoff::kDefaultCapacity, "most files span several chunks"},
      {4096, 1024, "the scan waits for the writer all the time"},
      {16384, 1000, "ring pieces wrap at odd places"},
  };
  std::string first;
  for (const setting& s : settings) {
    test::TempDir out("qf-writer");
    const written_run run = scan_and_write(image, s.chunk, s.capacity, out.path());
    EXPECT_EQ(run.reread, 0u) << s.what;
    expect_rows_match_image(run.manifest, image, out.path());
    if (first.empty()) first = run.manifest;
    EXPECT_EQ(run.manifest, first) << s.what;
  }
}

}  // namespace
}  // namespace qf
