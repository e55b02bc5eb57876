#pragma once
// The data page's record views: the check-box tree (id 1003), the list
// (1004, "datalistview") and the preview panes. The main window drives them
// only through this class. The tree is the program's check-box tree; the list
// is still the template's plain list view and no pane is made yet: the
// check-box list and the contact, conversation and picture panes take their
// places here, with the list filling, without the main window changing.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "ui/tree_view_ex_win32.h"

namespace qf::app {

class DataPageViews {
 public:
  // The tree made and the dialog's list placed: tree (1, 32) 221 x 597, list
  // (225, 119) 517 x 508, panes at (743, 120) 240 x 507. All start hidden.
  void attach(HWND dialog);

  // The phone root "android phone" with the Contacts and Message items,
  // expanded; the tree shown.
  void insert_phone_items();
  // "Contacts (n)" and "Message (n)", every item checked, Contacts selected
  // (which shows the list).
  void finish_loading(std::size_t contacts, std::size_t conversations);
  // A tree selection changed: the list shows for a category.
  void on_selection(HTREEITEM item);
  // Every tree item, list row and column gone; tree, list and panes hidden.
  void clear();

  HWND tree() const { return tree_.hwnd(); }
  bool checked(HTREEITEM item) const { return tree_.checked(item); }
  HWND list() const { return list_; }
  HTREEITEM contacts_item() const { return contacts_; }
  HTREEITEM messages_item() const { return messages_; }

 private:
  void relabel(HTREEITEM item, const wchar_t* name, std::size_t count);

  ui::CTreeViewEx1 tree_;
  HWND list_ = nullptr;
  HTREEITEM root_ = nullptr;
  HTREEITEM contacts_ = nullptr;
  HTREEITEM messages_ = nullptr;
};

}  // namespace qf::app
