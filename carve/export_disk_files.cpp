#include "carve/export_disk_files.h"

#include <filesystem>

#include "carve/domain_quillfern.h"
#include "carve/local_time.h"
#include "carve/sha256.h"
#include "carve/storage_view.h"
#include "platform/paths.h"

namespace qf {
namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::u8path(path), error);
}

bool make_folder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(path), error);
  return std::filesystem::is_directory(std::filesystem::u8path(path), error);
}

// A carved name is "<block>.<ext>"; a path separator in it must not lead out
// of the folder.
std::string safe_name(std::string name) {
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  return name;
}

}  // namespace

std::string unused_file_path(const std::string& dir, const std::string& name) {
  std::string path = join_path(dir, name);
  if (!exists(path)) return path;
  const auto dot = name.rfind('.');
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
  for (unsigned n = 2;; ++n) {
    path = join_path(dir, stem + "_" + std::to_string(n) + ext);
    if (!exists(path)) return path;
  }
}

namespace {

// One disk's export: the files written, the failures, the manifest.
class disk_export {
 public:
  disk_export(const std::string& base, disk_export_outcome& outcome) : base_(base), outcome_(outcome) {}

  // True when the file was written completely.
  bool write(const storage_view_node* folder, const file_view_item* item) {
    const std::string dir = join_path(base_, folder->label);
    const std::string shown = folder->label + "/" + safe_name(item->name);
    if (!make_folder(dir)) return fail(shown, "its folder could not be created");
    const std::string path = unused_file_path(dir, safe_name(item->name));
    cdr_info_win* table = DomainQuillfern::instance().table();
    const cdr_node* source = disk_of(item->engine);
    const int result = source ? table->save_found_file(table, item->engine, path, source->save_handle,
                                                       recover_stop_check, nullptr)
                              : 0;
    if (result == kCarveAbort) {
      std::error_code error;  // a copy cut short by Stop is not a recovered file
      std::filesystem::remove(std::filesystem::u8path(path), error);
      return false;
    }
    if (result != 1) return fail(shown, source ? "it could not be written" : "its disk is gone");
    const std::string written = std::filesystem::u8path(path).filename().u8string();
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(std::filesystem::u8path(path), error);
    // Size and hash read back, so the manifest describes what is really on disk.
    const manifest_row row{folder->label + "/" + written, folder->label, item->engine->offset, error ? 0 : size,
                           sha256_of_file(path), item->engine->end_validated};
    outcome_.written.push_back(row);
    list_in_manifest(row);
    return true;
  }

  void finish() {
    if (manifest_open_ && !manifest_.close() && !manifest_failed_) manifest_failed();
  }

 private:
  bool fail(const std::string& name, const char* reason) {
    outcome_.failed.push_back({name, reason});
    return false;
  }

  // The manifest is opened with the first file written, so a disk with
  // nothing written gets none; each line is flushed as its file is done.
  void list_in_manifest(const manifest_row& row) {
    if (manifest_failed_) return;
    if (!manifest_open_ && !(manifest_open_ = manifest_.open(base_))) return manifest_failed();
    if (!manifest_.add(row)) manifest_failed();
  }

  void manifest_failed() {
    manifest_failed_ = true;
    fail("manifest.csv", "it could not be written");
  }

  std::string base_;
  disk_export_outcome& outcome_;
  carve_manifest manifest_;
  bool manifest_open_ = false;
  bool manifest_failed_ = false;
};

}  // namespace

int export_disk_files(storage_view_node* disk, const std::string& output_folder, MessageSink*,
                      std::atomic<std::uint64_t>& counter, disk_export_outcome* outcome) {
  DomainQuillfern& domain = DomainQuillfern::instance();
  if (!disk || domain.stop_requested()) return 0;
  disk_export_outcome local;
  disk_export_outcome& result = outcome ? *outcome : local;
  result.folder = join_path(output_folder, "disk" + local_time_text("%Y%m%d%H%M%S"));
  disk_export run(result.folder, result);
  for (storage_view_node* folder : view_children(disk)) {
    if (domain.stop_requested()) break;
    for (file_view_item* item : view_items(folder)) {
      if (domain.stop_requested()) break;
      if (item->selected && run.write(folder, item)) ++counter;
    }
  }
  run.finish();
  return 0;
}

}  // namespace qf
