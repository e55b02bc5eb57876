#include "app/data_view_win32.h"

#include <commdlg.h>
#include <shlobj.h>

#include "app/main_dlg_resource.h"
#include "app/recover_dialog_win32.h"
#include "carve/disk_images.h"
#include "carve/domain_quillfern.h"
#include "carve/local_time.h"
#include "platform/app_messages.h"
#include "platform/paths.h"
#include "platform/utf_win32.h"
#include "platform/volume_identity.h"
#include "platform/window_sink_win32.h"
#include "ui/msg_box_win32.h"

namespace qf::app {
namespace {

using ui::TreeItemKind;

constexpr wchar_t kNothingSelected[] = L"Please select the file(s) you want to recover.";
constexpr wchar_t kNoDirectory[] = L"Please select the directory to save the files recovered.";

ui::ControlCreateArgs hidden_at(HWND parent, int id, int x, int y, int w, int h, const wchar_t* text = L"") {
  ui::ControlCreateArgs a;
  a.parent = parent;
  a.id = id;
  a.x = x;
  a.y = y;
  a.width = w;
  a.height = h;
  a.style = 0;
  a.text = text;
  return a;
}

std::wstring counted(const std::wstring& label, std::uint64_t count) {
  return label + L" (" + std::to_wstring(count) + L")";
}

template <class List>
void check_every(List& list, bool checked) {
  for (auto* record : list) record->checked = checked;
}

bool is_directory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

DataView::DataView() = default;

DataView::~DataView() { stop_scan(); }

void DataView::attach(HWND dialog, ScanButtons buttons) {
  dialog_ = dialog;
  buttons_ = buttons;
  sink_ = std::make_unique<WindowSink>(dialog);
  // The template's plain tree and list give way to the check-box controls.
  for (int id : {IDC_MAIN_TREE, IDC_MAIN_LIST}) {
    if (HWND old = GetDlgItem(dialog, id)) DestroyWindow(old);
  }
  tree_.create(hidden_at(dialog, IDC_MAIN_TREE, 1, 32, 221, 597));
  list_.create(hidden_at(dialog, IDC_MAIN_LIST, 225, 119, 517, 508, L"datalistview"), 30);
  contact_pane_.create(hidden_at(dialog, 0, 743, 120, 240, 507));
  conversation_pane_.create(hidden_at(dialog, 0, 743, 120, 240, 507));
  image_pane_.create(hidden_at(dialog, 0, 743, 120, 240, 507, L"preview_board"));
}

void DataView::insert_phone_items() {
  root_ = tree_.insert_item(TVI_ROOT, TreeItemKind::PhoneRoot, L"android phone", true);
  contacts_ = tree_.insert_item(root_, TreeItemKind::ContactsCategory, L"Contacts", false);
  messages_ = tree_.insert_item(root_, TreeItemKind::MessagesCategory, L"Message", false);
  TreeView_Expand(tree_.hwnd(), root_, TVE_EXPAND);
  tree_.show(true);
}

void DataView::finish_loading(std::size_t contacts, std::size_t conversations) {
  const std::wstring contacts_label = counted(L"Contacts", contacts);
  const std::wstring messages_label = counted(L"Message", conversations);
  tree_.set_item_payload(contacts_, &contacts_label, nullptr);
  tree_.set_item_payload(messages_, &messages_label, nullptr);
  tree_.set_subtree_check(root_, true);
  TreeView_SelectItem(tree_.hwnd(), contacts_);
  start_storage(disks_with_images(enumerated_disks(), images_));
}

void DataView::on_selection(HTREEITEM item) {
  const ui::TreeItemData* data = item ? tree_.item_data(item) : nullptr;
  if (!data || !data->enabled || TreeView_GetChild(tree_.hwnd(), item)) return;
  selected_ = item;
  list_.header().set_box_checked(tree_.checked(item));
  fill_list(item, *data);
}

void DataView::show_panes(ui::ListMode mode) {
  contact_pane_.show(mode == ui::ListMode::Contacts);
  conversation_pane_.show(mode == ui::ListMode::Messages);
  image_pane_.show(mode == ui::ListMode::Files);
}

void DataView::fill_list(HTREEITEM, const ui::TreeItemData& data) {
  switch (data.kind) {
    case TreeItemKind::ContactsCategory:
      list_.fill(ui::contact_rows(contact_list()));
      break;
    case TreeItemKind::MessagesCategory:
      list_.fill(ui::conversation_rows(conversation_list()));
      break;
    case TreeItemKind::FolderItem:
      list_.fill(ui::file_rows(static_cast<storage_view_node*>(data.payload)));
      break;
    default:
      return;
  }
  show_panes(list_.mode());
  list_.show(true);
  if (list_.mode() == ui::ListMode::Contacts && list_.rows() == 0) contact_pane_.show_contact(nullptr);
  if (list_.mode() == ui::ListMode::Messages && list_.rows() == 0) conversation_pane_.show_conversation(nullptr);
  preview_row();
  InvalidateRect(image_pane_.hwnd(), nullptr, TRUE);
}

void DataView::preview_row() {
  const int row = list_.selected_row();
  void* item = row >= 0 ? list_.row_item(row) : nullptr;
  if (!item) return;
  switch (list_.mode()) {
    case ui::ListMode::Contacts: contact_pane_.show_contact(static_cast<const ContactRecord*>(item)); break;
    case ui::ListMode::Messages:
      conversation_pane_.show_conversation(static_cast<const ConversationRecord*>(item));
      break;
    case ui::ListMode::Files: {
      auto* file = static_cast<file_view_item*>(item);
      const std::string path =
          join_path(narrow(picture_folder_), ui::preview_file_name(preview_ids_.id_of(file), file->name));
      image_pane_.set_requested_path(path);
      DomainQuillfern::instance().queue_save({path, sink_.get(), file});
      break;
    }
    default: break;
  }
}

void DataView::on_list_checked(WPARAM, LPARAM) {
  // The list has set the records' own flags; the tree item follows the box.
  if (!selected_) return;
  tree_.set_check(selected_, list_.model().all_checked());
  tree_.update_ancestors(selected_);
}

void DataView::on_tree_checked(HTREEITEM item, bool checked) {
  const ui::TreeItemData* data = tree_.item_data(item);
  if (!data) return;
  if (item == selected_) list_.set_all_checked(checked);
  switch (data->kind) {
    case TreeItemKind::ContactsCategory: check_every(contact_list(), checked); break;
    case TreeItemKind::MessagesCategory: check_every(conversation_list(), checked); break;
    case TreeItemKind::DiskItem: static_cast<storage_view_node*>(data->payload)->selected = checked; break;
    case TreeItemKind::FolderItem: {
      auto* folder = static_cast<storage_view_node*>(data->payload);
      folder->selected = checked;
      for (file_view_item* file : view_items(folder)) file->selected = checked;
      break;
    }
    default: break;
  }
}

void DataView::start_storage(disk_source source) {
  scans_.push_back(std::make_unique<scan_argument>());
  scans_.back()->window = sink_.get();
  start_enumeration(*scans_.back(), std::move(source));
}

HTREEITEM DataView::insert_disk(storage_view_node* disk) {
  HTREEITEM item = tree_.insert_item(root_, TreeItemKind::DiskItem, widen(disk->label), true);
  tree_.set_item_payload(item, nullptr, disk);
  tree_.set_check(item, disk->selected != 0);
  return item;
}

void DataView::on_disks_listed() {
  if (scans_.empty() || !root_) return;
  scan_argument& scan = *scans_.back();
  // A late answer of an enumeration forgotten on Back is not this one's.
  if (!scan.view_root || !listed_.insert(&scan).second) return;
  for (storage_view_node* disk : view_children(scan.view_root)) {
    if (disk->usable) add_listed_disk(scan, disk, insert_disk(disk));
  }
  TreeView_Expand(tree_.hwnd(), root_, TVE_EXPAND);
  if (buttons_.pause) buttons_.pause->set_active(true);
  if (buttons_.stop) buttons_.stop->set_active(true);
  start_scan(scan);
}

void DataView::relabel_folders(HTREEITEM disk) {
  for (HTREEITEM child = TreeView_GetChild(tree_.hwnd(), disk); child;
       child = TreeView_GetNextSibling(tree_.hwnd(), child)) {
    const ui::TreeItemData* data = tree_.item_data(child);
    if (!data || !data->payload) continue;
    const std::wstring label = counted(tree_.label(child), view_item_count(static_cast<storage_view_node*>(data->payload)));
    tree_.set_item_payload(child, &label, data->payload);
  }
}

void DataView::on_scan_event(scan_event* event) {
  switch (event->kind) {
    case kScanProgress: set_progress(event->percent); break;
    case kScanNewFolder: {
      auto disk = static_cast<HTREEITEM>(event->tree_item);
      HTREEITEM item = tree_.insert_item(disk, TreeItemKind::FolderItem, widen(event->folder->label), false);
      tree_.set_item_payload(item, nullptr, event->folder);
      tree_.set_check(item, event->folder->selected != 0);
      TreeView_Expand(tree_.hwnd(), disk, TVE_EXPAND);
      break;
    }
    case kScanDiskDone: relabel_folders(static_cast<HTREEITEM>(event->tree_item)); break;
    case kScanFinishedAll: scan_over(); break;
    default: break;
  }
  delete event;
}

void DataView::scan_over() {
  for (ui::CImgButton* b : {buttons_.stop, buttons_.pause}) {
    if (!b) continue;
    b->set_active(false);
    InvalidateRect(b->hwnd(), nullptr, FALSE);
  }
  set_progress(100);
}

void DataView::pause_or_resume(bool pause) {
  if (scans_.empty()) return;
  scan_argument& scan = *scans_.back();
  if (!(pause ? pause_scan(scan) : resume_scan(scan))) return;
  ShowWindow(GetDlgItem(dialog_, IDC_MAIN_PAUSE), pause ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(dialog_, IDC_MAIN_PAUSE_LABEL), pause ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(dialog_, IDC_MAIN_RESUME), pause ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(dialog_, IDC_MAIN_RESUME_LABEL), pause ? SW_SHOW : SW_HIDE);
}

void DataView::stop_scan() {
  // Only the newest scan can be running (an image is added only between
  // scans). Asking an older, finished one would wait on its hand-shake for an
  // end that the running scan announces on its own.
  if (!scans_.empty()) qf::stop_scan(*scans_.back());
}

void DataView::forget_storage() {
  stop_scan();
  // A preview save still queued must not outlive the file items it copies.
  DomainQuillfern::instance().wait_for_saves();
  for (auto& scan : scans_) {
    if (!scan->view_root && !scan->engine_root) {
      // Its enumeration has not reported yet and still writes into it: let it be.
      retired_.push_back(std::move(scan));
      continue;
    }
    wait_for_scan_end(*scan);
    release_storage(*scan);
  }
  scans_.clear();
  listed_.clear();
  ScanState = ScanIdle;
}

void DataView::clear() {
  forget_storage();
  tree_.delete_all();
  root_ = contacts_ = messages_ = selected_ = nullptr;
  tree_.show(false);
  list_.clear();
  list_.show(false);
  contact_pane_.show_contact(nullptr);
  conversation_pane_.show_conversation(nullptr);
  show_panes(ui::ListMode::None);
  preview_ids_.forget();
}

void DataView::set_progress(int percent) const {
  SendDlgItemMessageW(dialog_, IDC_MAIN_PROGRESS, PBM_SETPOS, percent, 0);
}

void DataView::warn(const std::wstring& text) const {
  ui::CMsgBox box;
  box.show(ui::MsgBoxIcon::Warning, ui::MsgBoxButtons::Ok, text, dialog_);
}

ui::recover_plan DataView::recover_plan() const {
  ui::recover_plan plan;
  plan.contacts = &contact_list();
  plan.conversations = &conversation_list();
  for (HTREEITEM item = root_ ? TreeView_GetChild(tree_.hwnd(), root_) : nullptr; item;
       item = TreeView_GetNextSibling(tree_.hwnd(), item)) {
    const ui::TreeItemData* data = tree_.item_data(item);
    if (!data) continue;
    ui::recover_item entry;
    entry.enabled = data->enabled != 0;
    entry.label = narrow(tree_.label(item));
    entry.category_checked = tree_.checked(item);
    switch (data->kind) {
      case TreeItemKind::ContactsCategory: entry.source = ui::RecoverSource::Contacts; break;
      case TreeItemKind::MessagesCategory: entry.source = ui::RecoverSource::Messages; break;
      case TreeItemKind::DiskItem:
        entry.source = ui::RecoverSource::Disk;
        entry.disk = static_cast<storage_view_node*>(data->payload);
        break;
      default: break;
    }
    plan.items.push_back(std::move(entry));
  }
  return plan;
}

void DataView::recover() {
  ui::recover_plan plan = recover_plan();
  if (ui::count_selected_items(plan) == 0) return warn(kNothingSelected);

  wchar_t current[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  BROWSEINFOW browse{};
  browse.hwndOwner = dialog_;
  browse.lpszTitle = current;
  PIDLIST_ABSOLUTE chosen_item = SHBrowseForFolderW(&browse);
  if (!chosen_item) return;
  wchar_t chosen[MAX_PATH + 1] = {};
  const bool has_path = SHGetPathFromIDListW(chosen_item, chosen);
  CoTaskMemFree(chosen_item);
  if (!has_path) return;
  if (!chosen[0]) return warn(kNoDirectory);

  const std::string destination = narrow(chosen);
  const std::string shared = ui::disk_sharing_volume(plan, destination, volume_identity);
  if (!shared.empty()) {
    return warn(L"The folder " + std::wstring(chosen) + L" is on the same volume as " + widen(shared) +
                L", which is being scanned or recovered from. Writing there would overwrite the deleted files. "
                L"Please choose a folder on another disk.");
  }
  _tzset();
  plan.output_folder = ui::recover_output_folder(destination, local_now());
  const std::wstring output = widen(plan.output_folder);
  CreateDirectoryW(output.c_str(), nullptr);
  if (!is_directory(output)) {
    return warn(L"The folder " + output + L" could not be created. Nothing was recovered; please choose another folder.");
  }

  set_progress(0);
  ShowWindow(GetDlgItem(dialog_, IDC_MAIN_PROGRESS), SW_SHOW);
  DhRecoverProgressDialog progress(std::move(plan));
  HWND owner = GetActiveWindow();
  progress.run(owner ? owner : dialog_);
  if (!progress.progress().failures.empty()) warn(widen(ui::recover_failure_message(progress.progress().failures)));
}

void DataView::open_disk_image() {
  wchar_t path[MAX_PATH * 4] = {};
  OPENFILENAMEW open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = dialog_;
  open.lpstrFilter = L"Disk images (*.img;*.dd;*.raw;*.bin;*.iso)\0*.img;*.dd;*.raw;*.bin;*.iso\0All files (*.*)\0*.*\0";
  open.lpstrFile = path;
  open.nMaxFile = static_cast<DWORD>(std::size(path));
  open.lpstrTitle = L"Open Disk Image";
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&open)) return;
  const std::string image = narrow(path);
  if (scans_.empty()) {
    images_.push_back(image);  // scanned with the machine's disks once the records are in
    return;
  }
  if (ScanState == ScanRunning || ScanState == ScanPaused) {
    return warn(L"Please wait until the current scan has finished, or stop it, before adding a disk image.");
  }
  images_.push_back(image);  // kept for a reload after Back
  start_storage(image_disks({image}));
}

bool DataView::on_command(int id) {
  switch (id) {
    case IDC_MAIN_RECOVER: recover(); return true;
    case IDC_MAIN_PAUSE: pause_or_resume(true); return true;
    case IDC_MAIN_RESUME: pause_or_resume(false); return true;
    case IDC_MAIN_STOP:
      scan_over();
      stop_scan();
      return true;
    default: return false;
  }
}

bool DataView::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->hwndFrom != list_.hwnd()) return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lparam);
    const bool selected = header->code == LVN_ITEMCHANGED && (change->uChanged & LVIF_STATE) &&
                          (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
    if (selected || header->code == NM_CLICK) preview_row();
    return false;  // others may want it too
  }
  if (message == WM_LIST_ITEM_CHECKED) on_list_checked(wparam, lparam);
  else if (message == WM_TREE_ITEM_CHECKED) on_tree_checked(reinterpret_cast<HTREEITEM>(wparam), lparam != 0);
  else if (message == WM_PREVIEW_READY) RedrawWindow(image_pane_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  else if (message == WM_DISKS_LISTED) on_disks_listed();
  else if (message == WM_SCAN_EVENT) on_scan_event(reinterpret_cast<scan_event*>(wparam));
  else return false;
  return true;
}

}  // namespace qf::app
