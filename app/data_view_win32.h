#pragma once
// The data page's side of the main window: the check-box tree (the phone,
// Contacts, Message, one item per disk and its file-type folders), the
// check-box list, the three preview panes, the disk scan's messages and
// buttons, and the Recover command. The main window hands it the messages
// and commands listed below and otherwise knows nothing of what it shows.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "carve/scan_session.h"
#include "platform/message_sink.h"
#include "ui/contact_info_board_win32.h"
#include "ui/image_preview_board_win32.h"
#include "ui/img_button_win32.h"
#include "ui/list_view_check_win32.h"
#include "ui/msg_info_board_win32.h"
#include "ui/preview_name.h"
#include "ui/recover_plan.h"
#include "ui/tree_view_ex_win32.h"

namespace qf::app {

class DataView {
 public:
  // The main window's tool-bar buttons that follow the scan.
  struct ScanButtons {
    ui::CImgButton* pause = nullptr;
    ui::CImgButton* resume = nullptr;
    ui::CImgButton* stop = nullptr;
  };

  DataView();
  ~DataView();

  // Replaces the template's tree and list with the check-box controls at
  // their places and makes the panes; all start hidden.
  void attach(HWND dialog, ScanButtons buttons);
  // Where preview copies of carved pictures go.
  void set_picture_folder(std::wstring folder) { picture_folder_ = std::move(folder); }
  // Image files scanned as disks beside the machine's own (UTF-8 paths).
  void set_disk_images(std::vector<std::string> images) { images_ = std::move(images); }

  // The phone root with Contacts and Message, expanded; the tree shown.
  void insert_phone_items();
  // End of loading: the counts into the labels, everything checked,
  // Contacts selected (filling the list), the storage enumeration started.
  void finish_loading(std::size_t contacts, std::size_t conversations);
  // The tree's selection changed.
  void on_selection(HTREEITEM item);
  // Back: the scan stopped and the storage forgotten, every item, row and
  // column gone, tree, list and panes hidden.
  void clear();
  // Shutdown: the scan stopped with its hand-shake.
  void stop_scan();

  // WM_LIST_ITEM_CHECKED, WM_TREE_ITEM_CHECKED, WM_PREVIEW_READY,
  // WM_DISKS_LISTED, WM_SCAN_EVENT and the list's row changes; true when handled.
  bool on_message(UINT message, WPARAM wparam, LPARAM lparam);
  // Recover (1010), Pause (1034), Resume (1035), Stop (1036); true when handled.
  bool on_command(int id);
  // The menu's "Open Disk Image...": a file dialog, then the image as one more disk.
  void open_disk_image();

  HWND tree() const { return tree_.hwnd(); }
  HWND list() const { return list_.hwnd(); }
  HTREEITEM contacts_item() const { return contacts_; }
  HTREEITEM messages_item() const { return messages_; }

 private:
  void fill_list(HTREEITEM item, const ui::TreeItemData& data);
  void show_panes(ui::ListMode mode);
  void preview_row();
  void on_list_checked(WPARAM row, LPARAM state);
  void on_tree_checked(HTREEITEM item, bool checked);
  void on_disks_listed();
  void on_scan_event(scan_event* event);
  HTREEITEM insert_disk(storage_view_node* disk);
  void relabel_folders(HTREEITEM disk);
  void pause_or_resume(bool pause);
  void scan_over();
  void forget_storage();
  void start_storage(disk_source source);
  void recover();
  ui::recover_plan recover_plan() const;
  void warn(const std::wstring& text) const;
  void set_progress(int percent) const;

  HWND dialog_ = nullptr;
  ScanButtons buttons_;
  std::wstring picture_folder_;
  ui::CTreeViewEx1 tree_;
  ui::CListViewCheck1 list_;
  ui::CContactInfoBoard contact_pane_;
  ui::CMsgInfoBoard conversation_pane_;
  ui::DhImagePreviewBoard image_pane_;
  HTREEITEM root_ = nullptr;
  HTREEITEM contacts_ = nullptr;
  HTREEITEM messages_ = nullptr;
  HTREEITEM selected_ = nullptr;
  std::vector<std::string> images_;
  // One per enumeration (the session's, then one per image opened later);
  // the last one is the scan the buttons act on.
  std::vector<std::unique_ptr<scan_argument>> scans_;
  // Arguments whose enumeration was still running when the storage was
  // forgotten: the thread writes into them, so they stay until the process ends.
  std::vector<std::unique_ptr<scan_argument>> retired_;
  std::unique_ptr<MessageSink> sink_;
  std::set<const scan_argument*> listed_;
  ui::preview_ids preview_ids_;
};

}  // namespace qf::app
