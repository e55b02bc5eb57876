// The check-box list in a real window: paging on scrolls and keys, the
// select-all box over every record, row clicks, sorting by a header click,
// red rows for deleted records.
#include "ui/list_view_check_win32.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/app_messages.h"
#include "tests/ui/ui_test_support.h"

namespace qf::ui {
namespace {

using Entry = qf::test::MessageRecorder::Entry;

struct ContactsList : qf::test::BuiltSkin {
  explicit ContactsList(int n) : parent(560, 540) {
    for (int i = 0; i < n; ++i) {
      records.emplace_back();
      records.back().name = "Contact " + std::to_string(i);
      records.back().deleted = i % 3 == 0;
      list.push_back(&records.back());
    }
    EXPECT_TRUE(view.create(ControlCreateArgs{parent.hwnd(), 1004, 0, 0, 517, 508}));
    view.fill(contact_rows(list));
  }
  // As a drag of the thumb to the bottom ends.
  void scroll_to_end() {
    SendMessageW(view.hwnd(), LVM_ENSUREVISIBLE, view.rows() - 1, FALSE);
    SendMessageW(view.hwnd(), WM_VSCROLL, SB_ENDSCROLL, 0);
  }
  qf::test::TestParent parent;
  std::deque<ContactRecord> records;
  ContactList list;
  CListViewCheck1 view;
};

TEST(CListViewCheck1, ScrollsToTheEndPageIn100AtATimeAndStop) {
  ContactsList t(250);
  std::vector<int> seen = {t.view.rows()};
  for (int i = 0; i < 3; ++i) {
    t.scroll_to_end();
    seen.push_back(t.view.rows());
  }
  EXPECT_EQ(seen, (std::vector<int>{100, 200, 250, 250}));
  EXPECT_EQ(ListView_GetItemCount(t.view.hwnd()), 250);
}

TEST(CListViewCheck1, EndKeyPagesInEverythingAndSpaceTogglesTheFocusedRow) {
  ContactsList t(250);
  SendMessageW(t.view.hwnd(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(t.view.rows(), 250);
  t.view.select_row(120);
  qf::test::MessageRecorder recorder(t.parent.hwnd());
  SendMessageW(t.view.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(static_cast<ContactRecord*>(t.view.row_item(120))->checked);
  EXPECT_EQ(recorder.seen, (std::vector<Entry>{{WM_LIST_ITEM_CHECKED, 120, 0}}));
}

TEST(CListViewCheck1, SelectAllBoxReachesEveryRecordWithOneNotification) {
  ContactsList t(250);
  EXPECT_TRUE(t.view.header().box_checked());
  qf::test::MessageRecorder recorder(t.parent.hwnd());
  SendMessageW(t.view.header().box(), BM_CLICK, 0, 0);
  EXPECT_FALSE(t.view.header().box_checked());
  for (const ContactRecord& r : t.records) ASSERT_FALSE(r.checked);
  EXPECT_EQ(recorder.seen, (std::vector<Entry>{{WM_LIST_ITEM_CHECKED, CListViewCheck1::kAllRows, 0}}));
}

TEST(CListViewCheck1, UncheckingOneRowClearsTheBoxAndCheckingItSetsItAgain) {
  ContactsList t(250);
  qf::test::MessageRecorder recorder(t.parent.hwnd());
  RECT check = t.view.check_rect(2);
  ASSERT_GT(check.right, check.left) << "the check picture did not load";
  std::vector<bool> box;
  for (int i = 0; i < 2; ++i) {
    SendMessageW(t.view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, qf::test::centre_of(check));
    box.push_back(t.view.header().box_checked());
  }
  EXPECT_EQ(box, (std::vector<bool>{false, true}));
  EXPECT_EQ(recorder.seen, (std::vector<Entry>{{WM_LIST_ITEM_CHECKED, 2, 0}, {WM_LIST_ITEM_CHECKED, 2, 1}}));
}

TEST(CListViewCheck1, AHeaderClickSortsTheWholeSourceAndFlipsOnTheSecond) {
  ContactsList t(250);
  HWND header = t.view.header().hwnd();
  RECT name{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&name));
  std::vector<std::string> first;
  for (int i = 0; i < 2; ++i) {
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, qf::test::centre_of(name));
    SendMessageW(header, WM_LBUTTONUP, 0, qf::test::centre_of(name));
    first.push_back(t.view.model().cell(0, 0));
  }
  EXPECT_EQ(first, (std::vector<std::string>{"1", "250"}));
  EXPECT_FALSE(t.view.model().ascending());
}

TEST(CListViewCheck1, ACutOffCellShowsItsFullTextInTheTooltip) {
  ContactsList t(2);
  t.records[0].name = "Maximiliane Oberhauser-Wittgenstein";
  struct Case {
    int row;
    std::wstring tip;
  } cases[] = {{0, L"Maximiliane Oberhauser-Wittgenstein"}, {1, L""}};
  for (const Case& c : cases) {
    SendMessageW(t.view.hwnd(), WM_MOUSEMOVE, 0, qf::test::centre_of(t.view.cell_rect(c.row, 1)));
    EXPECT_EQ(t.view.tip_text(), c.tip);
  }
}

int red_pixels(const CListViewCheck1& view, int row) {
  MemoryCanvas canvas(517, 30);
  view.paint_row(canvas.dc(), row, RECT{0, 0, 517, 30}, false);
  int red = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 517; ++x) red += canvas.pixel(x, y) == RGB(255, 0, 0);
  return red;
}

TEST(CListViewCheck1, DeletedRecordsDrawInRed) {
  ContactsList t(4);  // rows 0 and 3 deleted
  EXPECT_GT(red_pixels(t.view, 0), 20);
  EXPECT_EQ(red_pixels(t.view, 1), 0);
}

}  // namespace
}  // namespace qf::ui
