#include "app/data_page_views_win32.h"

#include <string>

#include "app/main_dlg_resource.h"

namespace qf::app {

void DataPageViews::attach(HWND dialog) {
  ui::ControlCreateArgs args;
  args.parent = dialog;
  args.id = IDC_MAIN_TREE;
  args.x = 1;
  args.y = 32;
  args.width = 221;
  args.height = 597;
  args.style = 0;  // hidden until a phone is ready
  tree_.create(args);
  list_ = GetDlgItem(dialog, IDC_MAIN_LIST);
  SetWindowPos(list_, nullptr, 225, 119, 517, 508, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

void DataPageViews::insert_phone_items() {
  root_ = tree_.insert_item(TVI_ROOT, ui::TreeItemKind::PhoneRoot, L"android phone", true);
  contacts_ = tree_.insert_item(root_, ui::TreeItemKind::ContactsCategory, L"Contacts", false);
  messages_ = tree_.insert_item(root_, ui::TreeItemKind::MessagesCategory, L"Message", false);
  TreeView_Expand(tree_.hwnd(), root_, TVE_EXPAND);
  tree_.show(true);
}

void DataPageViews::relabel(HTREEITEM item, const wchar_t* name, std::size_t count) {
  std::wstring label = std::wstring(name) + L" (" + std::to_wstring(count) + L")";
  tree_.set_item_payload(item, &label, nullptr);
}

void DataPageViews::finish_loading(std::size_t contacts, std::size_t conversations) {
  relabel(contacts_, L"Contacts", contacts);
  relabel(messages_, L"Message", conversations);
  tree_.set_subtree_check(root_, true);
  TreeView_SelectItem(tree_.hwnd(), contacts_);
}

void DataPageViews::on_selection(HTREEITEM item) {
  if (item && (item == contacts_ || item == messages_)) ShowWindow(list_, SW_SHOW);
}

void DataPageViews::clear() {
  tree_.delete_all();
  root_ = contacts_ = messages_ = nullptr;
  tree_.show(false);
  ListView_DeleteAllItems(list_);
  while (ListView_DeleteColumn(list_, 0)) {
  }
  ShowWindow(list_, SW_HIDE);
}

}  // namespace qf::app
