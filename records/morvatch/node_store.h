#pragma once
// Storage for one result list of the parser library: the nodes and the texts
// they point at. Both live in deques, whose elements never move as the deque
// grows at its end, so every next pointer and text pointer handed out stays
// valid until the store is cleared.
#include <deque>
#include <string>

namespace qf::morvatch {

// Texts copied out of SQLite before its statement moves on.
class TextPool {
 public:
  // A NUL-terminated copy of `length` bytes; null for a null `bytes` (SQL
  // NULL), which the library's readers take as the empty text.
  const char* keep(const unsigned char* bytes, int length) {
    if (bytes == nullptr) return nullptr;
    texts_.emplace_back(reinterpret_cast<const char*>(bytes), length < 0 ? 0 : length);
    return texts_.back().c_str();
  }
  void clear() { texts_.clear(); }

 private:
  std::deque<std::string> texts_;
};

// A singly linked list in insertion order; Node has a `next` member.
template <typename Node>
class NodeChain {
 public:
  // A zeroed node linked after the current last one.
  Node& append() {
    nodes_.emplace_back();
    Node& node = nodes_.back();
    if (nodes_.size() > 1) nodes_[nodes_.size() - 2].next = &node;
    return node;
  }
  Node* head() { return nodes_.empty() ? nullptr : &nodes_.front(); }
  std::size_t size() const { return nodes_.size(); }
  void clear() { nodes_.clear(); }

 private:
  std::deque<Node> nodes_;
};

}  // namespace qf::morvatch
