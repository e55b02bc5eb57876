#pragma once
// Window messages of the application range (WM_USER is 0x0400). Workers post
// them through a MessageSink; on Windows the sink is the main window.
namespace qf {

constexpr unsigned kWmUser = 0x0400;

constexpr unsigned WM_LIST_ITEM_CHECKED = kWmUser + 100;
constexpr unsigned WM_SHOW_CONTACT = kWmUser + 101;
constexpr unsigned WM_SHOW_CONVERSATION = kWmUser + 102;
constexpr unsigned WM_HEADER_CHECK_ALL = kWmUser + 105;
constexpr unsigned WM_TREE_ITEM_CHECKED = kWmUser + 106;
constexpr unsigned WM_RECORDS_LOADED = kWmUser + 110;
constexpr unsigned WM_RECOVER_FINISHED = kWmUser + 112;
constexpr unsigned WM_PULL_DONE = kWmUser + 113;
constexpr unsigned WM_UPDATE_AVAILABLE = kWmUser + 114;
constexpr unsigned WM_LOAD_PROGRESS = kWmUser + 115;
constexpr unsigned WM_PREVIEW_READY = kWmUser + 116;
constexpr unsigned WM_DISKS_LISTED = kWmUser + 117;
constexpr unsigned WM_SCAN_EVENT = kWmUser + 119;

}  // namespace qf
