#include "carve/drive_layout.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "carve/cdr_info.h"

namespace qf {
namespace {

std::uint32_t u32_at(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint64_t u64_at(const unsigned char* p) {
  return static_cast<std::uint64_t>(u32_at(p)) | static_cast<std::uint64_t>(u32_at(p + 4)) << 32;
}

}  // namespace

void add_layout_partitions(cdr_node* disk, const unsigned char* layout, std::size_t length,
                           std::uint32_t device_number, partition_map& map) {
  if (length < kLayoutHeaderSize) return;
  const std::size_t room = (length - kLayoutHeaderSize) / kLayoutEntrySize;
  const std::size_t count = std::min<std::size_t>(u32_at(layout + 4), room);
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char* entry = layout + kLayoutHeaderSize + i * kLayoutEntrySize;
    const std::uint64_t part_length = u64_at(entry + 16);
    if (part_length == 0) continue;
    auto* partition = new cdr_node;
    partition->name = "PARTITION-" + std::to_string(i);
    partition->partition_style = static_cast<int>(u32_at(entry));
    partition->start_offset = u64_at(entry + 8);
    partition->size = part_length;
    partition->detail = size_text(part_length);
    partition->sector_size = 512;
    partition->partition_index = static_cast<int>(i);
    partition->device_path = disk->device_path;
    partition->scan_handle = disk->scan_handle;
    partition->save_handle = disk->save_handle;
    append_child(disk, partition);
    map[{device_number, partition->start_offset}] = partition;
    total += part_length;
  }
  disk->size = total;
}

int removable_from_descriptor(const unsigned char* descriptor, std::size_t length) {
  return length > 10 && descriptor[10] != 0 ? 1 : 0;
}

std::optional<std::uint32_t> device_number_of(const unsigned char* number, std::size_t length) {
  if (length < 12) return std::nullopt;
  return u32_at(number + 4);
}

std::optional<std::pair<std::uint32_t, std::uint64_t>> first_volume_extent(const unsigned char* extents,
                                                                          std::size_t length) {
  if (length < 32 || u32_at(extents) == 0) return std::nullopt;
  return std::make_pair(u32_at(extents + 8), u64_at(extents + 16));
}

void apply_volume(cdr_node* partition, const volume_facts& volume) {
  partition->name = volume.label + " (" + volume.letter + ")";
  partition->letter = volume.letter;
  partition->detail = volume.file_system;
  partition->free_bytes = volume.free_bytes;
  if (volume.drive_type == 2) partition->removable = 1;
  if (volume.drive_type == 3) partition->removable = 0;
}

void sort_partitions_by_letter(cdr_node* disk) {
  std::vector<cdr_node*> children;
  for (cdr_node* c = disk->first_child; c; c = c->next) children.push_back(c);
  std::stable_sort(children.begin(), children.end(), [](const cdr_node* a, const cdr_node* b) {
    if (a->letter.empty() || b->letter.empty()) return !a->letter.empty() && b->letter.empty();
    return a->letter < b->letter;  // std::string compares as unsigned bytes
  });
  disk->first_child = disk->last_child = nullptr;
  for (cdr_node* c : children) append_child(disk, c);
}

std::string physical_drive_path(std::uint32_t device_number) {
  return "\\\\?\\PhysicalDrive" + std::to_string(device_number);
}

}  // namespace qf
