// Disk discovery's decisions on arbitrary structure buffers: the drive layout,
// volume extents, device descriptors; then the letter sort.
#include <cstddef>
#include <cstdint>

#include "carve/cdr_info.h"
#include "carve/drive_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qf::cdr_node root;
  auto* disk = new qf::cdr_node;
  qf::append_child(&root, disk);
  qf::partition_map map;
  qf::add_layout_partitions(disk, data, size, 1, map);
  const auto extent = qf::first_volume_extent(data, size);
  (void)qf::removable_from_descriptor(data, size);
  (void)qf::device_number_of(data, size);
  if (extent) {
    const auto hit = map.find(*extent);
    if (hit != map.end()) qf::apply_volume(hit->second, {"E:", "X", "FAT32", 0, 2});
  }
  // Letter some partitions by their bytes, then sort.
  int i = 0;
  for (qf::cdr_node* p = disk->first_child; p; p = p->next, ++i) {
    if (size > 0 && data[static_cast<std::size_t>(i) % size] & 1) p->letter = std::string(1, 'C' + i % 20) + ":";
  }
  qf::sort_partitions_by_letter(disk);
  qf::cdr_clear_children(nullptr, &root);
  return 0;
}
