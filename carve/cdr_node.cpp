#include "carve/cdr_node.h"

namespace qf {

void append_child(cdr_node* parent, cdr_node* child) {
  child->parent = parent;
  child->next = nullptr;
  child->prev = parent->last_child;
  if (parent->last_child) {
    parent->last_child->next = child;
  } else {
    parent->first_child = child;
  }
  parent->last_child = child;
}

}  // namespace qf
