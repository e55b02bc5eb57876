#include "carve/export_disk_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "carve/domain_quillfern.h"
#include "carve/scan_session.h"
#include "carve/sha256.h"
#include "tests/carve/session/session_test_support.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

// Every recovered file below `root` (not the manifest), by its path relative to `root`.
std::map<std::string, std::vector<unsigned char>> files_below(const fs::path& root) {
  std::map<std::string, std::vector<unsigned char>> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file() && e.path().filename() != "manifest.csv") out[fs::relative(e.path(), root).generic_u8string()] = test::read_file(e.path().u8string());
  }
  return out;
}

struct ExportTest : ::testing::Test {
  void SetUp() override {
    a = test::session_fixture("photo_a.jpg");
    b = test::session_fixture("photo_b.jpg");
    const std::string path = dir.file("card.img");
    // Pictures in blocks 1, 4 and 64: named 1.jpg, 4.jpg and 64.jpg.
    test::write_image(path, 1048576, {{512, a}, {2048, b}, {32768, a}});
    run_enumeration(arg, image_disks({path}));
    list_usable_disks(arg);
    scan_all_listed_disks(arg);
    disk = arg.disks[0].view;
    for (storage_view_node* f : view_children(disk)) {
      if (f->label == "jpg") jpg = f;
    }
    ASSERT_NE(jpg, nullptr);
    ASSERT_EQ(view_items(jpg).size(), 3u);
  }
  void TearDown() override {
    DomainQuillfern::instance().set_stop_probe(nullptr);
    release_storage(arg);
    ScanState = ScanIdle;
  }
  test::TempDir dir;
  test::TempDir out{"qf-export"};
  scan_argument arg;
  storage_view_node* disk = nullptr;
  storage_view_node* jpg = nullptr;
  std::vector<unsigned char> a, b;
};

TEST_F(ExportTest, SelectedFilesGoIntoTypeFoldersOfATimeStampedDiskFolder) {
  view_items(jpg)[1]->selected = 0;
  std::atomic<std::uint64_t> counter{0};
  EXPECT_EQ(export_disk_files(disk, out.path().u8string(), nullptr, counter), 0);
  EXPECT_EQ(counter, 2u);
  const auto files = files_below(out.path());
  ASSERT_EQ(files.size(), 2u);
  const std::string first = files.begin()->first;
  EXPECT_EQ(first.rfind("disk", 0), 0u);
  EXPECT_EQ(first.size(), std::string("disk20261208093000/jpg/1.jpg").size());
  EXPECT_EQ(files.begin()->second, a);
  EXPECT_EQ(files.rbegin()->second, a);
  EXPECT_NE(files.rbegin()->first.find("/jpg/64.jpg"), std::string::npos);
}

TEST_F(ExportTest, EqualNamesAreBothWritten) {
  // Rename the second record as if it lay in the first one's block.
  view_items(jpg)[1]->name = "1.jpg";
  std::atomic<std::uint64_t> counter{0};
  export_disk_files(disk, out.path().u8string(), nullptr, counter);
  EXPECT_EQ(counter, 3u);
  const auto files = files_below(out.path());
  ASSERT_EQ(files.size(), 3u);
  std::vector<std::string> names;
  for (const auto& [name, bytes] : files) names.push_back(fs::path(name).filename().u8string());
  EXPECT_EQ(names, (std::vector<std::string>{"1.jpg", "1_2.jpg", "64.jpg"}));
  auto it = files.begin();
  EXPECT_EQ(it->second, a);
  EXPECT_EQ((++it)->second, b);
}

TEST_F(ExportTest, StopInTheMiddleKeepsWhatWasWritten) {
  std::atomic<std::uint64_t> counter{0};
  DomainQuillfern::instance().set_stop_probe([&counter] { return counter >= 1; });
  export_disk_files(disk, out.path().u8string(), nullptr, counter);
  EXPECT_EQ(counter, 1u);
  const auto files = files_below(out.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.begin()->second, a);

  // A run already stopped writes nothing at all.
  test::TempDir again{"qf-export"};
  export_disk_files(disk, again.path().u8string(), nullptr, counter);
  EXPECT_TRUE(fs::is_empty(again.path()));
}

// Fails the save of the file at `fail_offset`; everything else goes through
// the real engine.
struct failing_save {
  static inline std::uint64_t fail_offset = 0;
  static inline decltype(cdr_info_win::save_found_file) real = nullptr;
  static int save(cdr_info_win* t, cdr_found_file* f, const std::string& path, ReadHandle* h, save_callback cb,
                  void* user) {
    return f->offset == fail_offset ? 0 : real(t, f, path, h, cb, user);
  }
};

TEST_F(ExportTest, OnlyWrittenFilesAreCountedAndListedInTheManifest) {
  cdr_info_win* table = DomainQuillfern::instance().table();
  failing_save::real = table->save_found_file;
  failing_save::fail_offset = view_items(jpg)[1]->engine->offset;
  table->save_found_file = failing_save::save;
  std::atomic<std::uint64_t> counter{0};
  disk_export_outcome outcome;
  export_disk_files(disk, out.path().u8string(), nullptr, counter, &outcome);
  table->save_found_file = failing_save::real;

  EXPECT_EQ(counter, 2u);
  ASSERT_EQ(outcome.failed.size(), 1u);
  EXPECT_EQ(outcome.failed[0].name, "jpg/" + view_items(jpg)[1]->name);
  // The manifest describes exactly the files on disk, by their real hashes.
  std::ifstream in(fs::u8path(outcome.folder) / "manifest.csv");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "name,type,offset,size,sha256,validated");
  std::vector<std::string> listed;
  while (std::getline(in, line)) listed.push_back(line);
  ASSERT_EQ(listed.size(), 2u);
  for (const manifest_row& r : outcome.written) {
    const std::string path = (fs::u8path(outcome.folder) / fs::u8path(r.name)).u8string();
    EXPECT_EQ(r.sha256, sha256_of_file(path));
    EXPECT_EQ(r.size, test::read_file(path).size());
    EXPECT_NE(std::find(listed.begin(), listed.end(),
                        r.name + ",jpg," + std::to_string(r.offset) + "," + std::to_string(r.size) + "," + r.sha256 + "," +
                            (r.end_validated ? "yes" : "no")),
              listed.end());
  }
}

TEST(UnusedFilePath, CountsUpFromTwo) {
  test::TempDir d;
  EXPECT_EQ(fs::u8path(unused_file_path(d.path().u8string(), "7.jpg")).filename(), "7.jpg");
  test::write_file(d.file("7.jpg"), {1});
  test::write_file(d.file("7_2.jpg"), {2});
  EXPECT_EQ(fs::u8path(unused_file_path(d.path().u8string(), "7.jpg")).filename(), "7_3.jpg");
  test::write_file(d.file("noext"), {1});
  EXPECT_EQ(fs::u8path(unused_file_path(d.path().u8string(), "noext")).filename(), "noext_2");
}

}  // namespace
}  // namespace qf
