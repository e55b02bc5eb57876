#pragma once
// What the scan thread tells the window through WM_SCAN_EVENT: a heap record
// in wParam that the window frees after handling (a kind above 3 is only freed).
namespace qf {

struct storage_view_node;

enum scan_event_kind : int {
  kScanProgress = 0,     // percent
  kScanNewFolder = 1,    // folder view node, tree item of its disk
  kScanDiskDone = 2,     // tree item of that disk
  kScanFinishedAll = 3,  // nothing
};

struct scan_event {
  int kind = 0;
  storage_view_node* folder = nullptr;
  void* tree_item = nullptr;
  int percent = 0;
};

}  // namespace qf
