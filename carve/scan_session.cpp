#include "carve/scan_session.h"

#include <thread>

#include "carve/carve_engine.h"
#include "carve/domain_quillfern.h"
#include "carve/scan_range.h"
#include "platform/app_messages.h"

namespace qf {

std::atomic<int> ScanState{ScanIdle};

namespace {

cdr_info_win* table_of(scan_argument& arg) {
  if (!arg.table) arg.table = DomainQuillfern::instance().table();
  return arg.table;
}

void post_event(scan_argument& arg, int kind, storage_view_node* folder, void* tree_item, int percent) {
  if (!arg.window) return;
  auto* event = new scan_event{kind, folder, tree_item, percent};
  arg.window->post(WM_SCAN_EVENT, reinterpret_cast<std::uintptr_t>(event), 0);
}

// Called with the scan mutex held.
void acknowledge(scan_argument& arg) {
  ++arg.acknowledgements;
  arg.acknowledge.notify_all();
}

// The first file of an engine folder: mirror the folder with what it holds.
void add_folder(scan_argument& arg, cdr_node* engine_folder) {
  storage_view_node* disk = arg.current.view;
  auto* folder = make_view_node(engine_folder, disk->selected.load());
  for (cdr_found_file* f = engine_folder->first_file; f; f = f->next) append_view_item(folder, f);
  append_view_child(disk, folder);
  disk->folders_by_name[folder->label] = folder;
  post_event(arg, kScanNewFolder, folder, arg.current.tree_item, 0);
}

void mirror_found_file(scan_argument& arg, cdr_found_file* file) {
  storage_view_node* disk = arg.current.view;
  if (!disk || !file->folder) return;
  const auto hit = disk->folders_by_name.find(file->folder->name);
  if (hit == disk->folders_by_name.end()) {
    add_folder(arg, file->folder);
  } else {
    append_view_item(hit->second, file);
  }
}

// The same scan as cdr_scan_partition, with a chosen -t list ("all" when
// none), in quick mode unless thorough.
void scan_with_types(scan_argument& arg, cdr_node* disk) {
  const scan_range range = scan_range_of(*disk);
  std::vector<std::string> args{"search"};
  if (!arg.thorough) args.push_back("-q");
  args.insert(args.end(), {"-t", arg.type_list.empty() ? "all" : arg.type_list, "-i", disk->device_path});
  run_carve_engine(args, disk, range.start, range.length, scan_callback, &arg, arg.observer);
}

}  // namespace

disk_source enumerated_disks() {
  return [](cdr_info_win* table) { return table->enumerate(table, 8); };
}

disk_source image_disks(std::vector<std::string> paths) {
  return [paths = std::move(paths)](cdr_info_win* table) {
    auto* root = new cdr_node;
    root->name = "root";
    for (const auto& p : paths) table->open_image(table, root, p);
    return root;
  };
}

void run_enumeration(scan_argument& arg, const disk_source& source) {
  cdr_node* root = source(table_of(arg));
  arg.engine_root = root;
  arg.view_root = root ? mirror_tree(root) : nullptr;
  if (arg.window) arg.window->post(WM_DISKS_LISTED, 0, 0);
}

void add_listed_disk(scan_argument& arg, storage_view_node* disk, void* tree_item) {
  arg.disks.push_back({disk->engine, disk, tree_item});
}

void list_usable_disks(scan_argument& arg) {
  if (!arg.view_root) return;
  for (storage_view_node* disk : view_children(arg.view_root)) {
    if (disk->usable) add_listed_disk(arg, disk, disk);
  }
}

void scan_all_listed_disks(scan_argument& arg) {
  ScanState = ScanRunning;
  cdr_info_win* table = table_of(arg);
  for (const listed_disk& disk : arg.disks) {
    if (ScanState == ScanStopRequested) break;
    arg.current = disk;
    arg.highest_percent = 0;
    if (arg.type_list.empty() && !arg.thorough && !arg.observer) {
      table->scan_partition(table, disk.engine, 0, scan_callback, &arg);
    } else {
      scan_with_types(arg, disk.engine);
    }
    post_event(arg, kScanDiskDone, nullptr, disk.tree_item, 0);
  }
  post_event(arg, kScanFinishedAll, nullptr, nullptr, 0);
  // Finished is set under the lock, so a Pause or Stop that takes the lock
  // afterwards sees it and does not wait for an acknowledgement that will
  // never come. Nothing of `arg` is touched after this unlock: whoever waits
  // for the end may release it.
  std::lock_guard<std::mutex> lock(arg.scan_mutex);
  ScanState = ScanFinished;
  acknowledge(arg);
}

int scan_callback(std::uint64_t total, std::uint64_t done, cdr_found_file* file, void* user_data) {
  auto& arg = *static_cast<scan_argument*>(user_data);
  if (ScanState == ScanPaused) {
    std::unique_lock<std::mutex> lock(arg.scan_mutex);
    acknowledge(arg);
    arg.resume.wait(lock, [] { return ScanState != ScanPaused; });
    if (ScanState == ScanRunning) acknowledge(arg);
  }
  if (ScanState == ScanStopRequested) return kCarveAbort;
  if (file) mirror_found_file(arg, file);
  if (total != 0 && done != 0) {
    const int percent = static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
    if (percent > arg.highest_percent) {
      arg.highest_percent = percent;
      post_event(arg, kScanProgress, nullptr, nullptr, percent);
    }
  }
  return 0;
}

namespace {

// Sets `to` when the state is `from`, then waits until the scan thread has
// acknowledged it in its callback (or has ended). Counting acknowledgements
// makes the wait immune to spurious wake-ups.
bool change_and_wait(scan_argument& arg, int from, int to) {
  std::unique_lock<std::mutex> lock(arg.scan_mutex);
  if (ScanState != from) return false;
  const std::uint64_t seen = arg.acknowledgements;
  ScanState = to;
  arg.resume.notify_all();
  arg.acknowledge.wait(lock, [&] { return arg.acknowledgements != seen || ScanState == ScanFinished; });
  return true;
}

}  // namespace

bool pause_scan(scan_argument& arg) { return change_and_wait(arg, ScanRunning, ScanPaused); }
bool resume_scan(scan_argument& arg) { return change_and_wait(arg, ScanPaused, ScanRunning); }

bool stop_scan(scan_argument& arg) {
  std::unique_lock<std::mutex> lock(arg.scan_mutex);
  const int state = ScanState;
  if (state == ScanIdle || state == ScanStopRequested || state == ScanFinished) return false;
  ScanState = ScanStopRequested;
  arg.resume.notify_all();
  arg.acknowledge.wait(lock, [] { return ScanState == ScanFinished; });
  return true;
}

void wait_for_scan_end(scan_argument& arg) {
  std::unique_lock<std::mutex> lock(arg.scan_mutex);
  arg.acknowledge.wait(lock, [] { return ScanState == ScanFinished || ScanState == ScanIdle; });
}

void start_enumeration(scan_argument& arg, disk_source source) {
  std::thread([&arg, source = std::move(source)] { run_enumeration(arg, source); }).detach();
}

void start_scan(scan_argument& arg) {
  std::thread([&arg] { scan_all_listed_disks(arg); }).detach();
}

void release_storage(scan_argument& arg) {
  free_view_tree(arg.view_root);
  arg.view_root = nullptr;
  cdr_info_win* table = table_of(arg);
  table->free_tree(table, arg.engine_root);
  arg.engine_root = nullptr;
  arg.disks.clear();
  arg.current = {};
}

}  // namespace qf
