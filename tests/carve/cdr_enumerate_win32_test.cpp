#include <gtest/gtest.h>

#include <cstdio>

#include "carve/cdr_info.h"

namespace qf {
namespace {

// Under Wine the disk interface class lists no disks; on a real machine it
// lists them all. Either way the walk must finish and give a tree to free.
TEST(EnumerateWin32, ReturnsATreeWithoutCrashing) {
  cdr_info_win* table = new_cdr_info();
  cdr_node* root = table->enumerate(table, 8);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->name, "root");
  int disks = 0;
  for (cdr_node* disk = root->first_child; disk; disk = disk->next) {
    ++disks;
    EXPECT_EQ(disk->device_path.rfind("\\\\?\\PhysicalDrive", 0), 0u);
    std::uint64_t sum = 0;
    for (cdr_node* p = disk->first_child; p; p = p->next) sum += p->size;
    EXPECT_EQ(disk->size, sum);
  }
  std::printf("enumerate: %d disk(s)\n", disks);
  table->free_tree(table, root);
  delete_cdr_info(table);
}

}  // namespace
}  // namespace qf
