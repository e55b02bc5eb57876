#pragma once
// The recover run's copy of a disk's selected carved files into
// <output>/disk<time stamp>/<type folder>/<name>.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/message_sink.h"

namespace qf {

struct storage_view_node;

// Writes every selected file item below `disk`, adding 1 to `counter` per
// file (also when its save failed). Stops between files, and inside a file,
// once the domain's stop probe says so. A name that is already taken in its
// folder is written as "<block>_2.<ext>", "<block>_3.<ext>", ...: nothing is
// overwritten. Returns 0.
int export_disk_files(storage_view_node* disk, const std::string& output_folder, MessageSink* window,
                      std::atomic<std::uint64_t>& counter);

// `name` when no file of that name is in `dir`, else the first free
// "stem_N.ext" from N = 2.
std::string unused_file_path(const std::string& dir, const std::string& name);

}  // namespace qf
