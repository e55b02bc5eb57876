#pragma once
// The recover run's copy of a disk's selected carved files into
// <output>/disk<time stamp>/<type folder>/<name>, with a manifest.csv in the
// disk's folder.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "carve/file_manifest.h"
#include "platform/message_sink.h"

namespace qf {

struct storage_view_node;

struct disk_export_failure {
  std::string name;    // "<type folder>/<file name>", or the folder or manifest
  std::string reason;
};

// What one disk's export wrote and what it could not write.
struct disk_export_outcome {
  std::string folder;  // the disk's folder; empty when nothing was selected
  std::vector<manifest_row> written;
  std::vector<disk_export_failure> failed;
};

// Writes every selected file item below `disk`, adding 1 to `counter` for each
// file written completely; a file that could not be written is not counted
// and is listed in `outcome` (when given). Stops between files, and inside a
// file, once the domain's stop probe says so; the file cut short by a stop is
// removed, so what stays was written whole. A name that is already taken in
// its folder is written as "<block>_2.<ext>", "<block>_3.<ext>", ...: nothing
// is overwritten. The disk's folder gets manifest.csv listing what was
// written. Returns 0.
int export_disk_files(storage_view_node* disk, const std::string& output_folder, MessageSink* window,
                      std::atomic<std::uint64_t>& counter, disk_export_outcome* outcome = nullptr);

// `name` when no file of that name is in `dir`, else the first free
// "stem_N.ext" from N = 2.
std::string unused_file_path(const std::string& dir, const std::string& name);

}  // namespace qf
