#pragma once
// What a recover run exports: one entry per top-level item of the data
// page's tree, read from the tree before the run starts (the modal progress
// dialog keeps the selection from changing meanwhile), and the records' and
// files' own selected flags.
#include <cstdint>
#include <string>
#include <vector>

#include "carve/storage_view.h"
#include "records/display_lists.h"
#include "records/report_template.h"

namespace qf::ui {

// What a tree item contributes to the run.
enum class RecoverSource { Other, Contacts, Messages, Disk };

struct recover_item {
  RecoverSource source = RecoverSource::Other;
  bool enabled = true;
  std::string label;              // the item's text, e.g. "Contacts (152)" (UTF-8)
  bool category_checked = true;   // the item's own check box
  storage_view_node* disk = nullptr;  // Disk only
};

struct recover_plan {
  std::vector<recover_item> items;  // in tree order
  const ContactList* contacts = nullptr;
  const ConversationList* conversations = nullptr;
  std::string output_folder;  // UTF-8
  std::string template_path = ReportTemplatePath();
};

// The checked records and selected files of the enabled items: a
// conversation counts once, whatever its number of messages.
std::int64_t count_selected_items(const recover_plan& plan);

// The selected files of one disk.
std::int64_t count_selected_files(const storage_view_node* disk);

// The paths whose volumes a disk item reads: an image's file, or the mounted
// volumes of a physical disk's partitions.
std::vector<std::string> disk_source_paths(const storage_view_node* disk);

// The label of the first disk item whose source lies on the same volume as
// `destination` (writing there would overwrite the free space the deleted
// files are carved from), or empty. `volume_of` maps a path to its volume
// (empty: unknown, never a match).
std::string disk_sharing_volume(const recover_plan& plan, const std::string& destination,
                                std::string (*volume_of)(const std::string&));

}  // namespace qf::ui
