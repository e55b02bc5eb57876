#pragma once
// The decisions of disk discovery, kept apart from the Windows calls so they
// can be fed with buffers laid out as the Windows structures are.
//
// DRIVE_LAYOUT_INFORMATION_EX (header 48 bytes, then 144-byte entries):
//   0 PartitionStyle (u32)   4 PartitionCount (u32)   8 MBR/GPT union (40)
// PARTITION_INFORMATION_EX (144 bytes):
//   0 PartitionStyle (u32)   8 StartingOffset (i64)   16 PartitionLength (i64)
//   24 PartitionNumber (u32) 28 RewritePartition ...  32 MBR/GPT union (112)
// VOLUME_DISK_EXTENTS: 0 NumberOfDiskExtents (u32), 8 DISK_EXTENT[] of 24 bytes:
//   0 DiskNumber (u32)   8 StartingOffset (i64)   16 ExtentLength (i64)
// STORAGE_DEVICE_DESCRIPTOR: 10 RemovableMedia (u8)
// STORAGE_DEVICE_NUMBER: 0 DeviceType, 4 DeviceNumber, 8 PartitionNumber (u32 each)
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "carve/cdr_node.h"

namespace qf {

constexpr std::size_t kLayoutHeaderSize = 48;
constexpr std::size_t kLayoutEntrySize = 144;
constexpr std::size_t kLayoutMaxEntries = 129;
constexpr std::size_t kLayoutBufferSize = kLayoutHeaderSize + kLayoutMaxEntries * kLayoutEntrySize;

// (disk device number, partition start offset) -> partition node.
using partition_map = std::map<std::pair<std::uint32_t, std::uint64_t>, cdr_node*>;

// Appends one partition node below `disk` for every used entry of the layout
// (entries of length 0 are skipped, their index not reused), enters each in
// `map` under `device_number`, and sets the disk's size to the sum of the
// partition lengths. Entries past `length` bytes are ignored.
void add_layout_partitions(cdr_node* disk, const unsigned char* layout, std::size_t length,
                           std::uint32_t device_number, partition_map& map);

// 1 when the descriptor's RemovableMedia byte is non-zero, else 0.
int removable_from_descriptor(const unsigned char* descriptor, std::size_t length);

// Device number of a STORAGE_DEVICE_NUMBER, when the buffer holds one.
std::optional<std::uint32_t> device_number_of(const unsigned char* number, std::size_t length);

// First extent of a VOLUME_DISK_EXTENTS: (disk number, starting offset).
std::optional<std::pair<std::uint32_t, std::uint64_t>> first_volume_extent(const unsigned char* extents,
                                                                          std::size_t length);

struct volume_facts {
  std::string letter;       // "E:"
  std::string label;        // may be empty
  std::string file_system;  // "FAT32"
  std::uint64_t free_bytes = 0;
  unsigned drive_type = 0;  // GetDriveType: 2 removable, 3 fixed
};

// Relabels a partition that Windows mounted as a volume.
void apply_volume(cdr_node* partition, const volume_facts& volume);

// Stable reorder of a disk's children: lettered partitions first by letter
// (byte-wise), unlettered ones after them in layout order.
void sort_partitions_by_letter(cdr_node* disk);

// "\\?\PhysicalDrive" and the device number.
std::string physical_drive_path(std::uint32_t device_number);

}  // namespace qf
