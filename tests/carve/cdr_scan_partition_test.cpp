#include <gtest/gtest.h>

#include <filesystem>

#include "carve/carve_engine.h"
#include "carve/cdr_info.h"
#include "carve/scan_range.h"
#include "carve/type_vocabulary.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"

namespace qf {

std::vector<std::string> scan_arguments(const cdr_node& partition, int category_mask);

namespace {

std::vector<std::string> folder_names(const cdr_node* node) {
  std::vector<std::string> out;
  for (cdr_node* c = node->first_child; c; c = c->next) out.push_back(c->name);
  return out;
}

TEST(ScanArguments, MaskZeroHasNoTypeList) {
  cdr_node node;
  node.device_path = "\\\\?\\PhysicalDrive2";
  EXPECT_EQ(scan_arguments(node, 0), (std::vector<std::string>{"search", "-q", "-i", "\\\\?\\PhysicalDrive2"}));
  ::testing::internal::CaptureStdout();
  const auto args = scan_arguments(node, 3);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "-t: jpg,png,gif,bmp,mpg,avi,wmv,mov,wav,vjpeg,rif\n");
  EXPECT_EQ(args, (std::vector<std::string>{"search", "-q", "-t", "jpg,png,gif,bmp,mpg,avi,wmv,mov,wav,vjpeg,rif",
                                            "-i", "\\\\?\\PhysicalDrive2"}));
}

TEST(ScanRange, DiskRunsToTheDeviceEndPartitionToItsOwn) {
  test::TempDir dir;
  const std::string path = dir.file("card.img");
  test::write_file(path, std::vector<unsigned char>(8192));
  cdr_node* disk = cdr_open_image(nullptr, nullptr, path);
  const scan_range whole = scan_range_of(*disk);
  EXPECT_EQ(whole.start, 0u);
  EXPECT_EQ(whole.length, 8192u);

  // A card whose one partition starts at 1 MiB: without a device length the
  // scan still reaches the partition's end, not the sum of the lengths.
  cdr_node card;
  card.owns_handles = true;
  card.size = 3 * 1048576;
  auto* part = new cdr_node;
  part->start_offset = 1048576;
  part->size = 3 * 1048576;
  append_child(&card, part);
  EXPECT_EQ(scan_range_of(card).length, 4u * 1048576);
  const scan_range own = scan_range_of(*part);
  EXPECT_EQ(own.start, 1048576u);
  EXPECT_EQ(own.length, 3u * 1048576);
  cdr_clear_children(nullptr, &card);
  cdr_free_tree(nullptr, disk);
}

TEST(Engine, NoTypeListSelectsAllOnTheScannedNode) {
  test::TempDir dir;
  const std::string path = dir.file("card.img");
  test::write_file(path, std::vector<unsigned char>(65536));
  cdr_node* disk = cdr_open_image(nullptr, nullptr, path);
  EXPECT_EQ(cdr_scan_partition(nullptr, disk, 0, nullptr, nullptr), kEngineScanned);
  auto names = folder_names(disk);
  const std::size_t all = definitions_for_name("all").size();
  ASSERT_EQ(names.size(), 1 + all);  // the image's partition node, then a folder per type
  EXPECT_EQ(names[1], "jpg");
  EXPECT_EQ(names[14], "pdf");
  // A second scan appends its folders beside the first scan's.
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(cdr_scan_partition(nullptr, disk, 1, nullptr, nullptr), kEngineScanned);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(folder_names(disk).size(), 1 + all + 4);
  cdr_free_tree(nullptr, disk);
}

TEST(Engine, RefusedArgumentsAreReportedNotFatal) {
  cdr_node node;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(run_carve_engine({"search", "-t", "jpg,JPG"}, &node, 0, 0, nullptr, nullptr), kEngineHelpShown);
  EXPECT_NE(::testing::internal::GetCapturedStdout().find("Usage: search"), std::string::npos);
  EXPECT_EQ(node.first_child, nullptr);  // nothing half-selected
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(run_carve_engine({"search", "-Z"}, &node, 0, 0, nullptr, nullptr), kEngineBadOption);
  ::testing::internal::GetCapturedStderr();
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(run_carve_engine({"search", "-V"}, &node, 0, 0, nullptr, nullptr), kEngineVersionShown);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(node.first_child, nullptr);
}

// A scanned disk is evidence: scanning it and saving from it leaves its bytes
// and its modification time as they were.
TEST(ReadOnly, ScanAndSaveLeaveTheImageUntouched) {
  test::TempDir dir;
  const std::string path = dir.file("card.img");
  auto bytes = test::patterned_bytes(3 * 1048576);
  const unsigned char jpeg_start[] = {0xFF, 0xD8, 0xFF, 0xE0};
  std::copy(std::begin(jpeg_start), std::end(jpeg_start), bytes.begin() + 4096);
  test::write_file(path, bytes);
  const auto stamp = std::filesystem::last_write_time(std::filesystem::u8path(path));
  std::filesystem::permissions(std::filesystem::u8path(path), std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);

  cdr_node* disk = cdr_open_image(nullptr, nullptr, path);
  ASSERT_NE(disk->scan_handle, nullptr);  // a read-only file opens: nothing asks for write access
  EXPECT_EQ(cdr_scan_partition(nullptr, disk, 0, nullptr, nullptr), kEngineScanned);
  cdr_found_file file;
  file.offset = 4096;
  file.size = 1048576;
  EXPECT_EQ(cdr_save_found_file(nullptr, &file, dir.file("out.bin"), disk->save_handle, nullptr, nullptr), 1);
  cdr_free_tree(nullptr, disk);

  std::filesystem::permissions(std::filesystem::u8path(path), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
  EXPECT_EQ(test::read_file(path), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(std::filesystem::u8path(path)), stamp);
}

}  // namespace
}  // namespace qf
