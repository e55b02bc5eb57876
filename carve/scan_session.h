#pragma once
// The disk-scan session: enumeration of the storage, the scan of every listed
// disk one after another, the scan callback that mirrors found files into the
// view tree and reports to the window, and the pause/resume/stop hand-shake.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "carve/cdr_info.h"
#include "carve/scan_event.h"
#include "carve/scan_observer.h"
#include "carve/scan_state.h"
#include "carve/storage_view.h"
#include "platform/message_sink.h"

namespace qf {

// Where the storage tree comes from: cdr_enumerate on the real machine, or a
// given list of image files / devices for tests, the demo and the command line.
using disk_source = std::function<cdr_node*(cdr_info_win* table)>;

disk_source enumerated_disks();
disk_source image_disks(std::vector<std::string> paths);

struct listed_disk {
  cdr_node* engine = nullptr;
  storage_view_node* view = nullptr;
  void* tree_item = nullptr;
};

// One per window.
struct scan_argument {
  MessageSink* window = nullptr;
  cdr_info_win* table = nullptr;  // the domain's table unless a test gives its own
  std::mutex scan_mutex;
  std::condition_variable resume;
  std::condition_variable acknowledge;
  std::uint64_t acknowledgements = 0;  // counted under scan_mutex
  std::vector<listed_disk> disks;  // the three parallel sequences, kept as one
  listed_disk current;
  int highest_percent = 0;
  // Empty: every disk is scanned with the "all" types, as the window does.
  // Otherwise a -t list for the engine (the command line's --types).
  std::string type_list;
  // Every byte offset is a candidate for a header (the command line's
  // --thorough), not only block starts as the window scans.
  bool thorough = false;
  // Watches every disk's scan (the command line's writer takes the found
  // files' bytes through it); none for the window.
  scan_observer* observer = nullptr;
  cdr_node* engine_root = nullptr;
  storage_view_node* view_root = nullptr;
};

// Enumeration run: builds the tree from `source`, mirrors it, stores both
// roots in `arg` and posts WM_DISKS_LISTED.
void run_enumeration(scan_argument& arg, const disk_source& source);

// Appends one disk to the listed disks (the window does this for each usable
// disk it puts into its tree).
void add_listed_disk(scan_argument& arg, storage_view_node* disk, void* tree_item);
// Lists every usable disk of the view tree, its view node as tree item.
void list_usable_disks(scan_argument& arg);

// Scans every listed disk in turn; posts kind 2 after each and kind 3 at the end.
void scan_all_listed_disks(scan_argument& arg);

// The progress_callback given to cdr_scan_partition; user_data is the scan argument.
int scan_callback(std::uint64_t total, std::uint64_t done, cdr_found_file* file, void* user_data);

// The window's buttons. Each returns whether the state changed (and so the
// visible buttons should swap).
bool pause_scan(scan_argument& arg);
bool resume_scan(scan_argument& arg);
bool stop_scan(scan_argument& arg);

// Blocks until the scan thread has ended (returns at once when none ran).
void wait_for_scan_end(scan_argument& arg);

// Detached threads, as the window starts them.
void start_enumeration(scan_argument& arg, disk_source source);
void start_scan(scan_argument& arg);

// Frees the view tree and the engine tree of `arg` (after stop_scan).
void release_storage(scan_argument& arg);

}  // namespace qf
