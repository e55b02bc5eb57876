#include "carve/storage_view.h"

#include "carve/local_time.h"

namespace qf {
namespace {

std::string date_or_today(const std::string& date) { return date.empty() ? today_text() : date; }

}  // namespace

std::string today_text() { return local_time_text("%Y-%m-%d"); }

storage_view_node* make_view_node(const cdr_node* engine, int selected) {
  auto* node = new storage_view_node;
  node->label = engine->detail.empty() ? engine->name : engine->name + " [" + engine->detail + "]";
  node->letter = engine->letter;
  node->device_path = engine->device_path;
  node->size = engine->size;
  node->free_bytes = engine->free_bytes;
  node->created = date_or_today(engine->created);
  node->modified = date_or_today(engine->modified);
  node->engine = const_cast<cdr_node*>(engine);
  node->selected = selected;
  node->usable = engine->removable;
  return node;
}

file_view_item* append_view_item(storage_view_node* folder, cdr_found_file* file) {
  auto* item = new file_view_item;
  item->parent = folder;
  item->name = file->name;
  item->note_a = file->note_a;
  item->note_b = file->note_b;
  item->size = file->size;
  item->created = date_or_today(file->created);
  item->modified = date_or_today(file->modified);
  item->engine = file;
  item->selected = folder->selected.load();
  std::lock_guard<std::mutex> lock(folder->lists);
  item->index = folder->last_item ? folder->last_item->index + 1 : 1;
  item->prev = folder->last_item;
  (folder->last_item ? folder->last_item->next : folder->first_item) = item;
  folder->last_item = item;
  return item;
}

void append_view_child(storage_view_node* parent, storage_view_node* child) {
  child->parent = parent;
  std::lock_guard<std::mutex> lock(parent->lists);
  child->prev = parent->last_child;
  (parent->last_child ? parent->last_child->next : parent->first_child) = child;
  parent->last_child = child;
}

storage_view_node* mirror_tree(const cdr_node* engine) {
  storage_view_node* node = make_view_node(engine, 1);
  for (cdr_found_file* f = engine->first_file; f; f = f->next) append_view_item(node, f);
  for (const cdr_node* c = engine->first_child; c; c = c->next) {
    storage_view_node* child = mirror_tree(c);
    append_view_child(node, child);
    if (c->first_file) node->folders_by_name[child->label] = child;
  }
  return node;
}

std::vector<storage_view_node*> view_children(const storage_view_node* node) {
  std::lock_guard<std::mutex> lock(node->lists);
  std::vector<storage_view_node*> out;
  for (storage_view_node* c = node->first_child; c; c = c->next) out.push_back(c);
  return out;
}

std::vector<file_view_item*> view_items(const storage_view_node* folder) {
  std::lock_guard<std::mutex> lock(folder->lists);
  std::vector<file_view_item*> out;
  for (file_view_item* i = folder->first_item; i; i = i->next) out.push_back(i);
  return out;
}

std::uint64_t view_item_count(const storage_view_node* folder) {
  std::lock_guard<std::mutex> lock(folder->lists);
  return folder->last_item ? folder->last_item->index : 0;
}

file_view_item* view_item_after(const storage_view_node* folder, const file_view_item* item) {
  std::lock_guard<std::mutex> lock(folder->lists);
  return item ? item->next : folder->first_item;
}

void free_view_tree(storage_view_node* node) {
  if (!node) return;
  storage_view_node* c = node->first_child;
  while (c) {
    storage_view_node* next = c->next;
    free_view_tree(c);
    c = next;
  }
  file_view_item* i = node->first_item;
  while (i) {
    file_view_item* next = i->next;
    delete i;
    i = next;
  }
  delete node;
}

}  // namespace qf
