// Paging, select-all and sorting of the check-box list over real display
// lists of contact records and a real folder of found files.
#include "ui/check_list_model.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "carve/cdr_info.h"

namespace qf::ui {
namespace {

struct Contacts {
  explicit Contacts(int n) {
    for (int i = 0; i < n; ++i) {
      records.emplace_back();
      records.back().name = "contact " + std::to_string(i);
      list.push_back(&records.back());
    }
  }
  std::deque<ContactRecord> records;
  ContactList list;
};

TEST(CheckListModel, TwoHundredFiftyRecordsPageInBy100AndStop) {
  Contacts c(250);
  CheckListModel model;
  model.fill(contact_rows(c.list));
  std::vector<size_t> seen = {model.rows()};
  for (int i = 0; i < 3; ++i) {
    model.load_more();
    seen.push_back(model.rows());
  }
  EXPECT_EQ(seen, (std::vector<size_t>{100, 200, 250, 250}));
  EXPECT_EQ(model.cell(249, 0), "250");
}

TEST(CheckListModel, SelectAllReachesRecordsNotYetPagedIn) {
  Contacts c(250);
  CheckListModel model;
  model.fill(contact_rows(c.list));
  model.set_all_checked(false);
  for (const ContactRecord& r : c.records) ASSERT_FALSE(r.checked);
  EXPECT_FALSE(model.all_checked());
  model.set_all_checked(true);
  EXPECT_TRUE(model.all_checked());
  // One row off clears the box; on again sets it.
  EXPECT_FALSE(model.toggle(7));
  EXPECT_FALSE(model.all_checked());
  EXPECT_TRUE(model.toggle(7));
  EXPECT_TRUE(model.all_checked());
}

TEST(CheckListModel, AnEmptyListHasNoSelectAll) {
  Contacts c(0);
  CheckListModel model;
  model.fill(contact_rows(c.list));
  EXPECT_EQ(model.rows(), 0u);
  EXPECT_FALSE(model.all_checked());
  EXPECT_EQ(model.load_more(), 0u);
}

std::vector<std::string> column(const CheckListModel& model, int col) {
  std::vector<std::string> out;
  for (size_t r = 0; r < model.rows(); ++r) out.push_back(model.cell(r, col));
  return out;
}

TEST(CheckListModel, NumbersSortByValueAndTheWholeSourceIsOrdered) {
  Contacts c(150);
  CheckListModel model;
  model.fill(contact_rows(c.list));
  model.sort_by(0);  // ascending: source order already
  model.sort_by(0);  // descending
  EXPECT_EQ(model.cell(0, 0), "150");
  EXPECT_EQ(model.cell(99, 0), "51");
  model.load_more();  // the next page continues the sorted order
  EXPECT_EQ(model.cell(140, 0), "10");
  EXPECT_EQ(model.cell(141, 0), "9");
  EXPECT_FALSE(model.ascending());
}

struct Folder {
  Folder() { folder.label = "jpg"; }
  ~Folder() {
    for (file_view_item* item = folder.first_item; item;) {
      file_view_item* next = item->next;
      delete item;
      item = next;
    }
  }
  void add(const char* name, std::uint64_t size, const char* date) {
    files.emplace_back();
    cdr_found_file& f = files.back();
    file_view_item* item = append_view_item(&folder, &f);
    item->name = name;
    item->size = size;
    item->created = date;
  }
  storage_view_node folder;
  std::deque<cdr_found_file> files;
};

TEST(CheckListModel, SizesAndDatesSortByValueNotText) {
  Folder f;
  f.add("a.jpg", 1536, "2024-03-01");
  f.add("b.jpg", 900, "2023-12-31");
  f.add("c.jpg", 1048576, "2024-03-01 09:00:00");
  f.add("d.jpg", 1023, "2024-02-29");
  CheckListModel model;
  model.fill(file_rows(&f.folder));
  struct Case {
    int column;
    std::vector<std::string> names;
  } cases[] = {{2, {"b.jpg", "d.jpg", "a.jpg", "c.jpg"}}, {3, {"b.jpg", "d.jpg", "a.jpg", "c.jpg"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    model.sort_by(c.column);
    EXPECT_EQ(column(model, 1), c.names);
  }
  model.sort_by(2);  // another column again: ascending
  EXPECT_EQ(column(model, 2), (std::vector<std::string>{"900.0 B", "1023.0 B", "1.5 KB", "1.0 MB"}));
}

TEST(CheckListModel, FilesFoundAfterTheFillPageInAndFollowTheirSelectedFlag) {
  Folder f;
  for (int i = 0; i < 120; ++i) f.add("x.jpg", 1, "2024-01-01");
  CheckListModel model;
  model.fill(file_rows(&f.folder));
  f.add("late.jpg", 1, "2024-01-01");
  EXPECT_EQ(model.load_more(), 21u);
  EXPECT_EQ(model.cell(120, 1), "late.jpg");
  model.set_all_checked(false);
  EXPECT_EQ(f.folder.last_item->selected.load(), 0);
}

TEST(DateSortValue, OnlyWellFormedDatesCount) {
  EXPECT_EQ(date_sort_value("2024-03-01 09:08:07"), 20240301090807u);
  EXPECT_EQ(date_sort_value("2024-03-01"), 20240301000000u);
  for (const char* bad : {"", "2024/03/01", "2024-03-01 09:08", "abcd-ef-gh"}) EXPECT_EQ(date_sort_value(bad), 0u);
}

}  // namespace
}  // namespace qf::ui
