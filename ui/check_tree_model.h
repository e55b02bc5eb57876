#pragma once
// The decisions of the check-box tree, over any tree that can be walked:
// what a click on an item's check box changes, in which order the owner is
// told, and how the ancestors follow. A parent is checked exactly when all
// of its children are; there is no partial state.
#include <cstdint>
#include <vector>

namespace qf::ui {

class CheckTree {
 public:
  using Node = std::uintptr_t;  // 0 is "no node"
  virtual Node parent(Node node) const = 0;
  virtual Node first_child(Node node) const = 0;
  virtual Node next_sibling(Node node) const = 0;
  virtual bool checked(Node node) const = 0;
  virtual bool enabled(Node node) const = 0;
  virtual void set_checked(Node node, bool checked) = 0;

 protected:
  ~CheckTree() = default;
};

// One state written to one item, in the order the owner is told.
struct CheckChange {
  CheckTree::Node node;
  bool checked;
  bool operator==(const CheckChange& other) const { return node == other.node && checked == other.checked; }
};

// Sets `node` and, depth first, every item below it (each before its own
// children). Returns the changes in that order.
std::vector<CheckChange> set_subtree_check(CheckTree& tree, CheckTree::Node node, bool checked);

// After `node`'s state changed: unchecked, every ancestor up to the root is
// unchecked (each is reported); checked, each parent whose children are now
// all checked is checked and the walk goes on from it, else it stops.
std::vector<CheckChange> update_ancestors(CheckTree& tree, CheckTree::Node node);

// A click on `node`'s check box: the flipped state to the item and its
// subtree, then the ancestors. A disabled item swallows the click (nothing).
std::vector<CheckChange> toggle_check(CheckTree& tree, CheckTree::Node node);

}  // namespace qf::ui
