#include <gtest/gtest.h>

#include <filesystem>

#include "carve/cdr_info.h"
#include "carve/found_file.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

TEST(OpenImage, DiskAndPartitionNodesShareTwoHandles) {
  test::TempDir dir;
  const std::string path = dir.file("card.img");
  test::write_file(path, test::patterned_bytes(5000));
  cdr_node* root = cdr_enumerate(nullptr, 8);
  ASSERT_NE(root, nullptr);
  cdr_node* disk = cdr_open_image(nullptr, root, path);
  ASSERT_EQ(root->last_child, disk);
  EXPECT_EQ(disk->name, "card.img");
  EXPECT_EQ(disk->device_path, path);
  EXPECT_EQ(disk->size, 5000u);
  EXPECT_EQ(disk->removable, 1);
  ASSERT_NE(disk->scan_handle, nullptr);
  ASSERT_NE(disk->save_handle, nullptr);
  EXPECT_NE(disk->scan_handle, disk->save_handle);

  const cdr_node* part = disk->first_child;
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(part, disk->last_child);
  EXPECT_EQ(part->name, "card.img");
  EXPECT_EQ(part->letter, path);
  EXPECT_EQ(part->detail, "4.9 KB");
  EXPECT_EQ(part->image_flag, 1);
  EXPECT_EQ(part->sector_size, 512);
  EXPECT_EQ(part->scan_handle, disk->scan_handle);
  EXPECT_EQ(part->save_handle, disk->save_handle);
  cdr_free_tree(nullptr, root);
}

TEST(OpenImage, MissingFileGivesNodesWithoutHandles) {
  test::TempDir dir;
  cdr_node* disk = cdr_open_image(nullptr, nullptr, dir.file("absent.img"));
  EXPECT_EQ(disk->scan_handle, nullptr);
  EXPECT_EQ(disk->save_handle, nullptr);
  EXPECT_EQ(disk->size, 0u);
  cdr_free_tree(nullptr, disk);
}

// Run under LeakSanitizer: every node, name and found file must be released.
TEST(FreeTree, ClearChildrenFreesFoldersAndFiles) {
  test::TempDir dir;
  const std::string path = dir.file("card.img");
  test::write_file(path, test::patterned_bytes(4096));
  cdr_node* root = cdr_enumerate(nullptr, 8);
  cdr_node* disk = cdr_open_image(nullptr, root, path);
  for (int f = 0; f < 3; ++f) {
    auto* folder = new cdr_node;
    folder->name = "jpg";
    append_child(disk, folder);
    for (int i = 0; i < 4; ++i) {
      auto* file = new cdr_found_file;
      file->folder = folder;
      file->name = std::to_string(i) + ".jpg";
      file->prev = folder->last_file;
      (folder->last_file ? folder->last_file->next : folder->first_file) = file;
      folder->last_file = file;
    }
  }
  cdr_clear_children(nullptr, disk);
  EXPECT_EQ(disk->first_child, nullptr);
  EXPECT_EQ(disk->last_child, nullptr);
  // The disk itself still owns its handles and can be freed with the tree.
  EXPECT_NE(disk->scan_handle, nullptr);
  cdr_free_tree(nullptr, root);
  cdr_free_tree(nullptr, nullptr);
}

}  // namespace
}  // namespace qf
