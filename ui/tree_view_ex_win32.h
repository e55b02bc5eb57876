#pragma once
// CTreeViewEx1: the check-box tree of the data page (the phone with its
// Contacts and Message categories, the scanned disks with their folders).
// Drawn entirely by the program: expand glyphs, check frames, icons, bold
// parents, the highlight gradient, greyed disabled items. A click on an
// item's check box (or Space on the focused item) flips it, its subtree
// and, as far as they follow, its ancestors; each change is sent to the
// parent as WM_TREE_ITEM_CHECKED (wParam the item, lParam 1 checked /
// 0 unchecked) in order: the item, its subtree depth first, the ancestors.
// A disabled item swallows clicks; double clicks do nothing. Selection
// changes reach the parent as the platform's TVN_SELCHANGED.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "ui/check_tree_model.h"
#include "ui/control_win32.h"
#include "ui/skin_image_win32.h"

namespace qf::ui {

enum class TreeItemKind { PhoneRoot = 0, ContactsCategory = 1, MessagesCategory = 2, DiskItem = 3, FolderItem = 4 };

// One per tree item, owned by the item (freed when the item is deleted).
struct TreeItemData {
  TreeItemKind kind = TreeItemKind::PhoneRoot;
  int enabled = 1;
  const SkinImage* icon = nullptr;  // the tree's picture for the kind
  int text_left = 0;                // written while painting, read by the hit test
  void* payload = nullptr;          // storage_view_node of a disk or folder item
};

class CTreeViewEx1 : public CControl {
 public:
  static constexpr int kItemHeight = 25;
  static constexpr int kCheckFrames = 5;

  CTreeViewEx1();
  ~CTreeViewEx1() override;
  bool create(const ControlCreateArgs& args);

  // A new last child of `parent` (TVI_ROOT for the top level), enabled,
  // unchecked, with the kind's icon; `has_children` shows an expand glyph
  // before it has children.
  HTREEITEM insert_item(HTREEITEM parent, TreeItemKind kind, const std::wstring& label, bool has_children);
  // Enables the item, stores `payload` and, when `label` is given, replaces the label.
  void set_item_payload(HTREEITEM item, const std::wstring* label, void* payload);
  void set_enabled(HTREEITEM item, bool enabled);
  TreeItemData* item_data(HTREEITEM item) const;
  std::wstring label(HTREEITEM item) const;
  bool checked(HTREEITEM item) const;
  // The state alone, nothing sent.
  void set_check(HTREEITEM item, bool checked);
  // The item and its subtree, each sent to the parent (the first fill).
  void set_subtree_check(HTREEITEM item, bool checked);
  // Brings the ancestors in line with `item`, each change sent.
  void update_ancestors(HTREEITEM item);
  // What a click on the item's check box does (nothing for a disabled item).
  void click_check(HTREEITEM item);
  void delete_all();

  // Client rectangle of the item's check frame (empty when not laid out).
  RECT check_rect(HTREEITEM item) const;
  // Draws the whole control into `dc` (client size, double-buffered).
  void paint(HDC dc) const;

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT on_notify(NMHDR* header, bool& handled) override;

 private:
  class Access;
  void notify(const std::vector<CheckChange>& changes) const;
  bool on_left_button(POINT point);
  RECT glyph_rect(HTREEITEM item) const;
  int paint_item(HDC dc, HTREEITEM item, const RECT& line, int scroll_width) const;

  std::array<SkinImage, 5> icons_;
  SkinImage checkboxes_, opened_, closed_;
};

}  // namespace qf::ui
