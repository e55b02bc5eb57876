// The check-box tree in a real window: clicks on the drawn check frames,
// the notifications the owner gets and their order, disabled items, Space.
#include "ui/tree_view_ex_win32.h"

#include <gtest/gtest.h>

#include "platform/app_messages.h"
#include "tests/ui/ui_test_support.h"

namespace qf::ui {
namespace {

using Entry = qf::test::MessageRecorder::Entry;

struct PhoneAndDisk : qf::test::BuiltSkin {
  PhoneAndDisk() : parent(300, 300) {
    EXPECT_TRUE(tree.create(ControlCreateArgs{parent.hwnd(), 1003, 0, 0, 221, 280}));
    root = tree.insert_item(TVI_ROOT, TreeItemKind::PhoneRoot, L"android phone", true);
    contacts = tree.insert_item(root, TreeItemKind::ContactsCategory, L"Contacts", false);
    messages = tree.insert_item(root, TreeItemKind::MessagesCategory, L"Message", false);
    disk = tree.insert_item(TVI_ROOT, TreeItemKind::DiskItem, L"Removable disk [1.9 GB]", true);
    folder = tree.insert_item(disk, TreeItemKind::FolderItem, L"jpg", false);
    for (HTREEITEM item : {root, disk}) SendMessageW(tree.hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    qf::test::print_client(tree.hwnd());  // lays out the check frames
  }
  void click(HTREEITEM item) {
    SendMessageW(tree.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, qf::test::centre_of(tree.check_rect(item)));
    SendMessageW(tree.hwnd(), WM_LBUTTONUP, 0, qf::test::centre_of(tree.check_rect(item)));
  }
  Entry sent(HTREEITEM item, int state) {
    return {WM_TREE_ITEM_CHECKED, reinterpret_cast<WPARAM>(item), state};
  }
  qf::test::TestParent parent;
  CTreeViewEx1 tree;
  HTREEITEM root, contacts, messages, disk, folder;
};

TEST(CTreeViewEx1, ClicksOnCheckFramesNotifyItemSubtreeThenAncestors) {
  PhoneAndDisk t;
  RECT check = t.tree.check_rect(t.contacts);
  ASSERT_GT(check.right, check.left) << "the check strip did not load";
  struct Step {
    HTREEITEM PhoneAndDisk::*item;
    std::vector<std::pair<HTREEITEM PhoneAndDisk::*, int>> expected;
  } steps[] = {
      {&PhoneAndDisk::contacts, {{&PhoneAndDisk::contacts, 1}}},
      {&PhoneAndDisk::messages, {{&PhoneAndDisk::messages, 1}, {&PhoneAndDisk::root, 1}}},
      {&PhoneAndDisk::root, {{&PhoneAndDisk::root, 0}, {&PhoneAndDisk::contacts, 0}, {&PhoneAndDisk::messages, 0}}},
      {&PhoneAndDisk::disk, {{&PhoneAndDisk::disk, 1}, {&PhoneAndDisk::folder, 1}}},
      {&PhoneAndDisk::folder, {{&PhoneAndDisk::folder, 0}, {&PhoneAndDisk::disk, 0}}},
  };
  for (const Step& step : steps) {
    qf::test::MessageRecorder recorder(t.parent.hwnd());
    t.click(t.*step.item);
    std::vector<Entry> expected;
    for (auto& e : step.expected) expected.push_back(t.sent(t.*e.first, e.second));
    EXPECT_EQ(recorder.seen, expected);
    for (auto& e : step.expected) EXPECT_EQ(t.tree.checked(t.*e.first), e.second == 1);
  }
}

TEST(CTreeViewEx1, ADisabledItemSwallowsClicksAndSelectionStays) {
  PhoneAndDisk t;
  t.tree.set_enabled(t.folder, false);
  SendMessageW(t.tree.hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.contacts));
  qf::test::MessageRecorder recorder(t.parent.hwnd());
  t.click(t.folder);
  RECT label{};
  TreeView_GetItemRect(t.tree.hwnd(), t.folder, &label, TRUE);
  SendMessageW(t.tree.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, qf::test::centre_of(label));
  EXPECT_TRUE(recorder.seen.empty());
  EXPECT_FALSE(t.tree.checked(t.folder));
  EXPECT_EQ(TreeView_GetSelection(t.tree.hwnd()), t.contacts);
}

TEST(CTreeViewEx1, SpaceTogglesTheSelectedItemLikeAClick) {
  PhoneAndDisk t;
  SendMessageW(t.tree.hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(t.disk));
  qf::test::MessageRecorder recorder(t.parent.hwnd());
  SendMessageW(t.tree.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(recorder.seen, (std::vector<Entry>{t.sent(t.disk, 1), t.sent(t.folder, 1)}));
}

TEST(CTreeViewEx1, DoubleClicksNeitherExpandNorCollapse) {
  PhoneAndDisk t;
  RECT label{};
  TreeView_GetItemRect(t.tree.hwnd(), t.root, &label, TRUE);
  SendMessageW(t.tree.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, qf::test::centre_of(label));
  EXPECT_TRUE(TreeView_GetItemState(t.tree.hwnd(), t.root, TVIS_EXPANDED) & TVIS_EXPANDED);
}

}  // namespace
}  // namespace qf::ui
