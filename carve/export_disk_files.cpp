#include "carve/export_disk_files.h"

#include <filesystem>

#include "carve/domain_quillfern.h"
#include "carve/local_time.h"
#include "carve/storage_view.h"
#include "platform/paths.h"

namespace qf {
namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::u8path(path), error);
}

void make_folder(const std::string& path) {
  std::error_code error;  // failures show up as failed saves
  std::filesystem::create_directories(std::filesystem::u8path(path), error);
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

int export_disk_files(storage_view_node* disk, const std::string& output_folder, MessageSink*,
                      std::atomic<std::uint64_t>& counter) {
  DomainQuillfern& domain = DomainQuillfern::instance();
  if (!disk || domain.stop_requested()) return 0;
  const std::string base = join_path(output_folder, "disk" + local_time_text("%Y%m%d%H%M%S"));
  cdr_info_win* table = domain.table();
  for (storage_view_node* folder : view_children(disk)) {
    if (domain.stop_requested()) break;
    const std::string dir = join_path(base, folder->label);
    for (file_view_item* item : view_items(folder)) {
      if (domain.stop_requested()) break;
      if (!item->selected) continue;
      make_folder(dir);
      cdr_found_file* file = item->engine;
      const cdr_node* source = disk_of(file);
      if (source) {
        table->save_found_file(table, file, unused_file_path(dir, safe_name(item->name)), source->save_handle,
                               recover_stop_check, nullptr);
      }
      ++counter;
    }
  }
  return 0;
}

}  // namespace qf
