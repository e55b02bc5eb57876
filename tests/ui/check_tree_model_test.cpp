// Check propagation of the check-box tree over a plain in-memory tree.
#include "ui/check_tree_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace qf::ui {
namespace {

// Nodes 1..n; parent 0 is the top level.
class PlainTree final : public CheckTree {
 public:
  explicit PlainTree(std::vector<Node> parents) : parents_(std::move(parents)) {
    checked_.assign(parents_.size() + 1, false);
    enabled_.assign(parents_.size() + 1, true);
  }
  Node parent(Node n) const override { return parents_[n - 1]; }
  Node first_child(Node n) const override { return next_with_parent(n, 1); }
  Node next_sibling(Node n) const override { return next_with_parent(parent(n), n + 1); }
  bool checked(Node n) const override { return checked_[n]; }
  bool enabled(Node n) const override { return enabled_[n]; }
  void set_checked(Node n, bool c) override { checked_[n] = c; }
  std::vector<bool> enabled_;

 private:
  Node next_with_parent(Node p, Node from) const {
    for (Node n = from; n <= parents_.size(); ++n)
      if (parents_[n - 1] == p) return n;
    return 0;
  }
  std::vector<Node> parents_;
  std::vector<bool> checked_;
};

// 1 phone { 2 contacts, 3 messages }, 4 disk { 5 folder, 6 folder }
PlainTree phone_and_disk() { return PlainTree({0, 1, 1, 0, 4, 4}); }

TEST(CheckTree, ClicksPropagateDownThenUpInNotificationOrder) {
  struct Case {
    const char* what;
    std::vector<CheckTree::Node> pre_checked;
    CheckTree::Node clicked;
    std::vector<CheckChange> expected;
  } cases[] = {
      {"parent checks its subtree depth first", {}, 4, {{4, true}, {5, true}, {6, true}}},
      {"last child alone leaves the parent unchecked", {}, 6, {{6, true}}},
      {"an earlier unchecked sibling keeps the parent unchecked", {}, 3, {{3, true}}},
      {"the child completing its siblings checks the parent", {2}, 3, {{3, true}, {1, true}}},
      {"unchecking reaches the root", {1, 2, 3}, 2, {{2, false}, {1, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlainTree tree = phone_and_disk();
    for (auto n : c.pre_checked) tree.set_checked(n, true);
    EXPECT_EQ(toggle_check(tree, c.clicked), c.expected);
    for (const CheckChange& change : c.expected) EXPECT_EQ(tree.checked(change.node), change.checked);
  }
}

TEST(CheckTree, ADisabledItemSwallowsTheClick) {
  PlainTree tree = phone_and_disk();
  tree.enabled_[5] = false;
  EXPECT_TRUE(toggle_check(tree, 5).empty());
  EXPECT_FALSE(tree.checked(5));
}

TEST(CheckTree, DeepUncheckWalksEveryAncestor) {
  PlainTree tree({0, 1, 2, 3});  // a chain 1 > 2 > 3 > 4
  set_subtree_check(tree, 1, true);
  std::vector<CheckChange> expected = {{4, false}, {3, false}, {2, false}, {1, false}};
  EXPECT_EQ(toggle_check(tree, 4), expected);
}

}  // namespace
}  // namespace qf::ui
