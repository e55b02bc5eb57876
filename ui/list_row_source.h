#pragma once
// What the check-box list shows, one record per source index: the contacts
// or conversations of a display list, or the found files of a folder. The
// records' own flags (a record's `checked`, a file's selected flag) are the
// check states, so a check set here is the one the recover run exports.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "carve/storage_view.h"
#include "records/display_lists.h"

namespace qf::ui {

// 0 before the first fill.
enum class ListMode { None = 0, Contacts = 1, Messages = 2, Files = 3 };

// How a column's cells compare when the user sorts by it.
enum class SortKind { Number, Size, Date, Text };

struct ListColumn {
  const wchar_t* title;
  int width;
  SortKind sort;
};

// The columns of a mode, left to right (none for ListMode::None).
const std::vector<ListColumn>& columns_for(ListMode mode);

class ListRowSource {
 public:
  virtual ~ListRowSource() = default;
  virtual ListMode mode() const = 0;
  // May grow between calls (a folder while the disk scan finds files).
  virtual size_t size() const = 0;
  // Cell text (UTF-8); column 0 is the 1-based position in the source.
  virtual std::string cell(size_t index, int column) const = 0;
  // The value a Number, Size or Date column sorts by.
  virtual std::uint64_t sort_value(size_t index, int column) const;
  virtual bool checked(size_t index) const = 0;
  virtual void set_checked(size_t index, bool checked) = 0;
  virtual bool deleted(size_t index) const { return (void)index, false; }
  // The record or file item behind the index (the list row's item data).
  virtual void* item(size_t index) const = 0;
};

std::unique_ptr<ListRowSource> contact_rows(ContactList& list);
std::unique_ptr<ListRowSource> conversation_rows(ConversationList& list);
// The files of `folder`, growing as the scan appends to it.
std::unique_ptr<ListRowSource> file_rows(const storage_view_node* folder);

// A date text "%Y-%m-%d" or "%Y-%m-%d %H:%M:%S" as the number
// YYYYMMDDhhmmss, which orders as time does; 0 for anything else.
std::uint64_t date_sort_value(const std::string& text);

}  // namespace qf::ui
