#pragma once
// One node of the storage tree: the root, a physical disk, a partition, or a
// file-type folder made by a scan. Nodes are heap blocks linked by raw
// pointers; cdr_free_tree / cdr_clear_children release them.
#include <cstdint>
#include <string>

#include "platform/read_handle.h"

namespace qf {

struct cdr_found_file;

struct cdr_node {
  cdr_node* parent = nullptr;
  cdr_node* prev = nullptr;
  cdr_node* next = nullptr;
  cdr_node* first_child = nullptr;
  cdr_node* last_child = nullptr;
  cdr_found_file* first_file = nullptr;  // file-type folders only
  cdr_found_file* last_file = nullptr;
  std::string name;         // "root", a disk's friendly name, "PARTITION-%d" or "label (E:)", a folder's suffix
  std::string letter;       // "E:" of a mounted partition; the path on an image's partition node; else empty
  std::string device_path;  // "\\?\PhysicalDriveN" (partitions copy their disk's), or an image path
  std::uint64_t size = 0;        // bytes: partition length; a disk's is the sum of its partitions'
  std::uint64_t free_bytes = 0;  // free to the caller on a mounted volume
  std::int64_t sector_size = 0;  // always 512 once discovered
  std::uint64_t start_offset = 0;  // partition's first byte on its disk
  std::string created;  // discovery leaves the dates empty
  std::string modified;
  std::string detail;  // size_text of the length, or the file-system name of a mounted volume
  int removable = 0;
  int image_flag = 0;  // 1 on the partition node made by cdr_open_image
  int partition_style = 0;  // 0 MBR, 1 GPT, 2 RAW
  int partition_index = 0;
  // Only disk nodes own their handles; partitions share their disk's.
  ReadHandle* scan_handle = nullptr;  // read by the carving scan
  ReadHandle* save_handle = nullptr;  // read by saves while a scan may run on the other
  bool owns_handles = false;
};

// Appends `child` as the last child of `parent`.
void append_child(cdr_node* parent, cdr_node* child);

}  // namespace qf
