#include "ui/recover_plan.h"

#include <algorithm>

namespace qf::ui {
namespace {

template <class List>
std::int64_t count_checked(const List* list) {
  if (!list) return 0;
  return std::count_if(list->begin(), list->end(), [](const auto* r) { return r && r->checked; });
}

}  // namespace

std::int64_t count_selected_files(const storage_view_node* disk) {
  std::int64_t n = 0;
  if (!disk) return 0;
  for (const storage_view_node* folder : view_children(disk)) {
    for (const file_view_item* item : view_items(folder)) n += item->selected ? 1 : 0;
  }
  return n;
}

std::int64_t count_selected_items(const recover_plan& plan) {
  std::int64_t total = 0;
  for (const recover_item& item : plan.items) {
    if (!item.enabled) continue;
    switch (item.source) {
      case RecoverSource::Contacts: total += count_checked(plan.contacts); break;
      case RecoverSource::Messages: total += count_checked(plan.conversations); break;
      case RecoverSource::Disk: total += count_selected_files(item.disk); break;
      case RecoverSource::Other: break;
    }
  }
  return total;
}

std::vector<std::string> disk_source_paths(const storage_view_node* disk) {
  std::vector<std::string> paths;
  if (!disk || !disk->engine) return paths;
  for (const cdr_node* part = disk->engine->first_child; part; part = part->next) {
    if (part->image_flag) {
      paths.push_back(disk->engine->device_path);
    } else if (!part->letter.empty()) {
      paths.push_back(part->letter + "\\");
    }
  }
  return paths;
}

std::string disk_sharing_volume(const recover_plan& plan, const std::string& destination,
                                std::string (*volume_of)(const std::string&)) {
  const std::string target = volume_of(destination);
  if (target.empty()) return {};
  for (const recover_item& item : plan.items) {
    if (item.source != RecoverSource::Disk) continue;
    for (const std::string& source : disk_source_paths(item.disk)) {
      if (volume_of(source) == target) return item.label;
    }
  }
  return {};
}

}  // namespace qf::ui
