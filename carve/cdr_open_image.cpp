// An image file as a disk with one partition spanning it, so that scanning
// and saving treat images and raw disks alike.
#include "carve/cdr_info.h"

namespace qf {
namespace {

// The part after the last separator; Windows paths use backslashes, the
// portable tools slashes.
std::string last_path_part(const std::string& path) {
  const auto cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

cdr_node* cdr_open_image(cdr_info_win*, cdr_node* parent, const std::string& path) {
  auto* disk = new cdr_node;
  disk->name = last_path_part(path);
  disk->device_path = path;
  disk->removable = 1;
  disk->sector_size = 512;
  disk->scan_handle = open_read_handle(path);
  disk->save_handle = open_read_handle(path);
  disk->owns_handles = true;
  const std::int64_t length = read_handle_length(disk->scan_handle);
  disk->size = length > 0 ? static_cast<std::uint64_t>(length) : 0;
  if (parent) append_child(parent, disk);

  auto* partition = new cdr_node;
  partition->name = disk->name;
  partition->device_path = path;
  partition->letter = path;
  partition->size = disk->size;
  partition->sector_size = 512;
  partition->detail = size_text(disk->size);
  partition->image_flag = 1;
  partition->removable = 1;
  partition->scan_handle = disk->scan_handle;
  partition->save_handle = disk->save_handle;
  append_child(disk, partition);
  return disk;
}

}  // namespace qf
