#include "ui/check_tree_model.h"

namespace qf::ui {
namespace {

using Node = CheckTree::Node;

void check_below(CheckTree& tree, Node node, bool checked, std::vector<CheckChange>& changes) {
  tree.set_checked(node, checked);
  changes.push_back({node, checked});
  for (Node child = tree.first_child(node); child; child = tree.next_sibling(child))
    check_below(tree, child, checked, changes);
}

bool all_children_checked(const CheckTree& tree, Node parent) {
  for (Node child = tree.first_child(parent); child; child = tree.next_sibling(child))
    if (!tree.checked(child)) return false;
  return true;
}

}  // namespace

std::vector<CheckChange> set_subtree_check(CheckTree& tree, Node node, bool checked) {
  std::vector<CheckChange> changes;
  if (node) check_below(tree, node, checked, changes);
  return changes;
}

std::vector<CheckChange> update_ancestors(CheckTree& tree, Node node) {
  std::vector<CheckChange> changes;
  if (!node) return changes;
  const bool checked = tree.checked(node);
  for (Node parent = tree.parent(node); parent; parent = tree.parent(parent)) {
    if (checked && !all_children_checked(tree, parent)) break;
    tree.set_checked(parent, checked);
    changes.push_back({parent, checked});
  }
  return changes;
}

std::vector<CheckChange> toggle_check(CheckTree& tree, Node node) {
  if (!node || !tree.enabled(node)) return {};
  std::vector<CheckChange> changes = set_subtree_check(tree, node, !tree.checked(node));
  std::vector<CheckChange> above = update_ancestors(tree, node);
  changes.insert(changes.end(), above.begin(), above.end());
  return changes;
}

}  // namespace qf::ui
