#include "app/data_page_views_win32.h"

#include <string>

#include "app/main_dlg_resource.h"

namespace qf::app {

void DataPageViews::attach(HWND dialog) {
  tree_ = GetDlgItem(dialog, IDC_MAIN_TREE);
  list_ = GetDlgItem(dialog, IDC_MAIN_LIST);
  SetWindowPos(tree_, nullptr, 1, 32, 221, 597, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetWindowPos(list_, nullptr, 225, 119, 517, 508, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

HTREEITEM DataPageViews::insert(HTREEITEM parent, const wchar_t* label) {
  TVINSERTSTRUCTW item{};
  item.hParent = parent ? parent : TVI_ROOT;
  item.hInsertAfter = TVI_LAST;
  item.item.mask = TVIF_TEXT;
  item.item.pszText = const_cast<wchar_t*>(label);
  return TreeView_InsertItem(tree_, &item);
}

void DataPageViews::insert_phone_items() {
  root_ = insert(nullptr, L"android phone");
  contacts_ = insert(root_, L"Contacts");
  messages_ = insert(root_, L"Message");
  TreeView_Expand(tree_, root_, TVE_EXPAND);
  ShowWindow(tree_, SW_SHOW);
}

void DataPageViews::relabel(HTREEITEM item, const wchar_t* name, std::size_t count) const {
  std::wstring label = std::wstring(name) + L" (" + std::to_wstring(count) + L")";
  TVITEMW change{};
  change.mask = TVIF_TEXT;
  change.hItem = item;
  change.pszText = label.data();
  TreeView_SetItem(tree_, &change);
}

void DataPageViews::check_all(HTREEITEM item) const {
  for (; item; item = TreeView_GetNextSibling(tree_, item)) {
    TreeView_SetCheckState(tree_, item, TRUE);
    check_all(TreeView_GetChild(tree_, item));
  }
}

void DataPageViews::finish_loading(std::size_t contacts, std::size_t conversations) {
  relabel(contacts_, L"Contacts", contacts);
  relabel(messages_, L"Message", conversations);
  check_all(root_);
  TreeView_SelectItem(tree_, contacts_);
}

void DataPageViews::on_selection(HTREEITEM item) {
  if (item && (item == contacts_ || item == messages_)) ShowWindow(list_, SW_SHOW);
}

void DataPageViews::clear() {
  TreeView_DeleteAllItems(tree_);
  root_ = contacts_ = messages_ = nullptr;
  ShowWindow(tree_, SW_HIDE);
  ListView_DeleteAllItems(list_);
  while (ListView_DeleteColumn(list_, 0)) {
  }
  ShowWindow(list_, SW_HIDE);
}

}  // namespace qf::app
