// Releasing the storage tree: nodes, their found files, and the disk handles.
#include "carve/cdr_info.h"

namespace qf {
namespace {

void free_node(cdr_node* node);

void free_children(cdr_node* node) {
  cdr_node* child = node->first_child;
  while (child) {
    cdr_node* next = child->next;
    free_node(child);
    child = next;
  }
  node->first_child = node->last_child = nullptr;
}

void free_node(cdr_node* node) {
  free_children(node);
  free_found_files(node);
  if (node->owns_handles) {
    close_read_handle(node->scan_handle);
    close_read_handle(node->save_handle);
  }
  delete node;
}

}  // namespace

void cdr_free_tree(cdr_info_win*, cdr_node* root) {
  if (root) free_node(root);
}

void cdr_clear_children(cdr_info_win*, cdr_node* node) {
  if (!node) return;
  free_children(node);
  free_found_files(node);
}

}  // namespace qf
