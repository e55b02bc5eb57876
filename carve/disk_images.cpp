#include "carve/disk_images.h"

namespace qf {

disk_source disks_with_images(disk_source base, std::vector<std::string> images) {
  return [base = std::move(base), images = std::move(images)](cdr_info_win* table) {
    cdr_node* root = base ? base(table) : nullptr;
    if (!root && !images.empty()) {
      root = new cdr_node;
      root->name = "root";
    }
    for (const std::string& path : images) table->open_image(table, root, path);
    return root;
  };
}

}  // namespace qf
