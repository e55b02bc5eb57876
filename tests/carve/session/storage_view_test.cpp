#include "carve/storage_view.h"

#include "carve/cdr_info.h"

#include <gtest/gtest.h>

#include <thread>

namespace qf {
namespace {

// The scan thread appends while the window lists, counts and pages: every
// item a reader sees must be complete and numbered without gaps.
TEST(StorageView, ConcurrentAppendsAndReadsSeeWholeItems) {
  cdr_node engine_folder;
  engine_folder.name = "jpg";
  storage_view_node* folder = make_view_node(&engine_folder, 1);
  constexpr int kItems = 3000;
  std::vector<cdr_found_file> files(kItems);
  for (int i = 0; i < kItems; ++i) {
    files[i].name = std::to_string(i) + ".jpg";
    files[i].size = static_cast<std::uint64_t>(i) + 1;
  }
  std::thread writer([&] {
    for (auto& f : files) append_view_item(folder, &f);
  });
  std::thread window([&] {
    std::uint64_t seen = 0;
    while (seen < kItems) {
      folder->selected = seen % 2 ? 1 : 0;  // the window toggles the folder's check box
      const auto items = view_items(folder);
      for (std::size_t i = 0; i < items.size(); ++i) {
        ASSERT_EQ(items[i]->index, i + 1);
        ASSERT_EQ(items[i]->size, i + 1);
        ASSERT_EQ(items[i]->name, std::to_string(i) + ".jpg");
      }
      const std::uint64_t count = view_item_count(folder);
      ASSERT_GE(count, items.size());
      // Paging from the start, one item at a time.
      std::uint64_t paged = 0;
      for (file_view_item* it = view_item_after(folder, nullptr); it && paged < 50; it = view_item_after(folder, it)) ++paged;
      ASSERT_LE(paged, count + kItems);
      seen = count;
    }
  });
  writer.join();
  window.join();
  EXPECT_EQ(view_item_count(folder), static_cast<std::uint64_t>(kItems));
  free_view_tree(folder);
}

TEST(StorageView, MirrorLabelsDatesAndUsableFlag) {
  cdr_node root;
  root.name = "root";
  auto* disk = new cdr_node;
  disk->name = "Card Reader";
  disk->removable = 1;
  append_child(&root, disk);
  auto* part = new cdr_node;
  part->name = "SDCARD (E:)";
  part->detail = "FAT32";
  part->created = "2020-01-02";
  append_child(disk, part);
  storage_view_node* view = mirror_tree(&root);
  const auto disks = view_children(view);
  ASSERT_EQ(disks.size(), 1u);
  EXPECT_EQ(disks[0]->label, "Card Reader");
  EXPECT_EQ(disks[0]->usable, 1);
  EXPECT_EQ(disks[0]->engine, disk);
  const auto parts = view_children(disks[0]);
  EXPECT_EQ(parts[0]->label, "SDCARD (E:) [FAT32]");
  EXPECT_EQ(parts[0]->created, "2020-01-02");
  EXPECT_EQ(parts[0]->modified, today_text());
  EXPECT_EQ(today_text().size(), 10u);
  free_view_tree(view);
  cdr_clear_children(nullptr, &root);
}

}  // namespace
}  // namespace qf
