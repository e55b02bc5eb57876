// Disk discovery outside Windows: the portable tools name their image or
// device explicitly, so the tree has a root and no disks.
#include "carve/cdr_info.h"

namespace qf {

cdr_node* cdr_enumerate(cdr_info_win*, int) {
  auto* root = new cdr_node;
  root->name = "root";
  return root;
}

}  // namespace qf
