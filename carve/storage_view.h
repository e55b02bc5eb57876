#pragma once
// The window-side mirror of the storage tree: disks and file-type folders as
// storage_view_node, found files as file_view_item.
//
// A folder's item list grows on the scan thread while the window lists,
// checks and pages through it, and a disk's folder list grows while the
// recover run may walk it; each node's lists are therefore guarded by the
// node's own mutex. Items are built completely before they are linked in, so
// a reader holding the lock never sees a half-made item. The selected flags
// are atomic: the window sets them while the scan copies them into new items.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "carve/cdr_node.h"
#include "carve/found_file.h"

namespace qf {

struct storage_view_node;

struct file_view_item {
  storage_view_node* parent = nullptr;  // the folder
  file_view_item* prev = nullptr;
  file_view_item* next = nullptr;
  std::string name;
  std::string note_a;
  std::string note_b;
  std::uint64_t size = 0;
  std::string created;  // today's date when the record has none
  std::string modified;
  cdr_found_file* engine = nullptr;
  std::atomic<int> selected{1};
  std::uint64_t index = 0;  // 1 for a folder's first item, then +1 each
};

struct storage_view_node {
  storage_view_node* parent = nullptr;
  storage_view_node* prev = nullptr;
  storage_view_node* next = nullptr;
  storage_view_node* first_child = nullptr;
  storage_view_node* last_child = nullptr;
  file_view_item* first_item = nullptr;
  file_view_item* last_item = nullptr;
  std::string label;  // name, then " [detail]" when there is a detail
  std::string letter;
  std::string device_path;
  std::uint64_t size = 0;
  std::uint64_t free_bytes = 0;
  std::string created;
  std::string modified;
  cdr_node* engine = nullptr;
  std::map<std::string, storage_view_node*> folders_by_name;  // disk nodes; scan thread only
  std::atomic<int> selected{1};
  int usable = 0;  // the engine node's removable flag
  mutable std::mutex lists;  // guards the child and item lists
};

// Mirrors `engine` and everything below it (folders and found files too).
storage_view_node* mirror_tree(const cdr_node* engine);

// One view node for `engine` alone (no children), `selected` as given.
storage_view_node* make_view_node(const cdr_node* engine, int selected);

// A new item for `file` appended to `folder` with the folder's selected value
// and the next index. Returns the item.
file_view_item* append_view_item(storage_view_node* folder, cdr_found_file* file);

// Appends `child` below `parent` under the parent's lock.
void append_view_child(storage_view_node* parent, storage_view_node* child);

// Snapshots taken under the node's lock, safe while the scan appends.
std::vector<storage_view_node*> view_children(const storage_view_node* node);
std::vector<file_view_item*> view_items(const storage_view_node* folder);
std::uint64_t view_item_count(const storage_view_node* folder);
// The item after `item` (the first when `item` is null), or null: for paging.
file_view_item* view_item_after(const storage_view_node* folder, const file_view_item* item);

// Frees `node` and everything below it (not the engine tree).
void free_view_tree(storage_view_node* node);

// Today's local date as "%Y-%m-%d".
std::string today_text();

}  // namespace qf
