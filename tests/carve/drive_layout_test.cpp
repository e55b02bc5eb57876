#include "carve/drive_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "carve/cdr_info.h"

namespace qf {
namespace {

void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void put64(std::vector<unsigned char>& b, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

struct entry {
  std::uint64_t start;
  std::uint64_t length;
};

// A DRIVE_LAYOUT_INFORMATION_EX as the IOCTL returns it (MBR style).
std::vector<unsigned char> layout_of(const std::vector<entry>& entries) {
  std::vector<unsigned char> b(kLayoutHeaderSize + entries.size() * kLayoutEntrySize);
  put32(b, 0, 0);
  put32(b, 4, static_cast<std::uint32_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t at = kLayoutHeaderSize + i * kLayoutEntrySize;
    put64(b, at + 8, entries[i].start);
    put64(b, at + 16, entries[i].length);
    put32(b, at + 24, static_cast<std::uint32_t>(i + 1));
  }
  return b;
}

struct LayoutTest : ::testing::Test {
  void SetUp() override {
    root = new cdr_node;
    root->name = "root";
    disk = new cdr_node;
    disk->device_path = physical_drive_path(3);
    append_child(root, disk);
  }
  void TearDown() override { cdr_free_tree(nullptr, root); }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (cdr_node* c = disk->first_child; c; c = c->next) out.push_back(c->name);
    return out;
  }
  cdr_node* root;
  cdr_node* disk;
  partition_map map;
};

TEST_F(LayoutTest, EmptyEntryIsSkippedAndItsIndexNotReused) {
  const auto layout = layout_of({{1048576, 2040109465ull}, {0, 0}, {3000000000ull, 4096}});
  add_layout_partitions(disk, layout.data(), layout.size(), 3, map);
  EXPECT_EQ(names(), (std::vector<std::string>{"PARTITION-0", "PARTITION-2"}));
  EXPECT_EQ(disk->size, 2040109465ull + 4096);
  const cdr_node* first = disk->first_child;
  EXPECT_EQ(first->start_offset, 1048576u);
  EXPECT_EQ(first->detail, "1.9 GB");
  EXPECT_EQ(first->device_path, "\\\\?\\PhysicalDrive3");
  EXPECT_EQ(disk->last_child->partition_index, 2);
  EXPECT_EQ(map.size(), 2u);
  EXPECT_EQ(map.at({3, 3000000000ull}), disk->last_child);
}

TEST_F(LayoutTest, CountBeyondTheBufferIsCut) {
  auto layout = layout_of({{512, 1024}});
  put32(layout, 4, 129);  // claims 129 entries, holds one
  add_layout_partitions(disk, layout.data(), layout.size(), 0, map);
  EXPECT_EQ(names(), (std::vector<std::string>{"PARTITION-0"}));
}

TEST_F(LayoutTest, MountedVolumeRelabelsAndDetailsItsPartition) {
  const auto layout = layout_of({{1048576, 2040109465ull}, {2041158041ull, 1048576}});
  add_layout_partitions(disk, layout.data(), layout.size(), 3, map);

  // The volume's extents point at the first partition by disk and offset.
  std::vector<unsigned char> extents(32);
  put32(extents, 0, 1);
  put32(extents, 8, 3);
  put64(extents, 16, 1048576);
  put64(extents, 24, 2040109465ull);
  const auto extent = first_volume_extent(extents.data(), extents.size());
  ASSERT_TRUE(extent);
  cdr_node* hit = map.at(*extent);
  apply_volume(hit, {"E:", "SDCARD", "FAT32", 12345, 2});
  EXPECT_EQ(hit->name, "SDCARD (E:)");
  EXPECT_EQ(hit->letter, "E:");
  EXPECT_EQ(hit->detail, "FAT32");
  EXPECT_EQ(hit->free_bytes, 12345u);
  EXPECT_EQ(hit->removable, 1);
  // The unmounted one keeps its name and size detail.
  EXPECT_EQ(disk->last_child->name, "PARTITION-1");
  EXPECT_EQ(disk->last_child->detail, "1.0 MB");

  apply_volume(hit, {"E:", "", "NTFS", 0, 3});
  EXPECT_EQ(hit->name, " (E:)");
  EXPECT_EQ(hit->removable, 0);
}

TEST_F(LayoutTest, LettersSortAndUnletteredFollowInLayoutOrder) {
  const auto layout = layout_of({{512, 10}, {1024, 10}, {2048, 10}, {4096, 10}});
  add_layout_partitions(disk, layout.data(), layout.size(), 0, map);
  apply_volume(map.at({0, 1024}), {"E:", "B", "FAT", 0, 2});
  apply_volume(map.at({0, 4096}), {"D:", "A", "FAT", 0, 2});
  sort_partitions_by_letter(disk);
  EXPECT_EQ(names(), (std::vector<std::string>{"A (D:)", "B (E:)", "PARTITION-0", "PARTITION-2"}));
  EXPECT_EQ(disk->last_child->next, nullptr);
  EXPECT_EQ(disk->first_child->prev, nullptr);
  EXPECT_EQ(disk->last_child->prev->name, "PARTITION-0");
}

TEST(DriveStructures, DescriptorAndDeviceNumber) {
  std::vector<unsigned char> descriptor(512, 0);
  EXPECT_EQ(removable_from_descriptor(descriptor.data(), descriptor.size()), 0);
  descriptor[10] = 1;
  EXPECT_EQ(removable_from_descriptor(descriptor.data(), descriptor.size()), 1);
  EXPECT_EQ(removable_from_descriptor(descriptor.data(), 8), 0);

  std::vector<unsigned char> number(12, 0);
  put32(number, 4, 2);
  EXPECT_EQ(device_number_of(number.data(), number.size()), 2u);
  EXPECT_FALSE(device_number_of(number.data(), 8));
  std::vector<unsigned char> no_extents(32, 0);
  EXPECT_FALSE(first_volume_extent(no_extents.data(), no_extents.size()));
}

}  // namespace
}  // namespace qf
