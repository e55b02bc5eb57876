#pragma once
// The decisions of the check-box list, kept apart from the window: which
// source records the rows show (paged in by 100, in source order or in the
// order of a sort over the whole source), their check states, and the
// select-all box, which stands for every record of the source, not only the
// rows paged in so far.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/list_row_source.h"

namespace qf::ui {

class CheckListModel {
 public:
  static constexpr size_t kPage = 100;
  // Compares two cell texts (<0, 0, >0); by default byte by byte.
  using TextCompare = std::function<int(const std::string&, const std::string&)>;

  void set_text_compare(TextCompare compare) { compare_ = std::move(compare); }

  // Shows the first page of `source` (nothing for null). The sort column and
  // direction persist; a sort column the new mode lacks is dropped.
  void fill(std::unique_ptr<ListRowSource> source);
  // Empties the list (ListMode::None).
  void clear();
  // Pages in up to kPage more rows; returns how many came.
  size_t load_more();

  ListMode mode() const { return source_ ? source_->mode() : ListMode::None; }
  size_t rows() const { return shown_; }
  // Every record of the source, shown or not.
  size_t records() const;
  size_t source_index(size_t row) const { return order_[row]; }
  std::string cell(size_t row, int column) const { return source_->cell(order_[row], column); }
  bool checked(size_t row) const { return source_->checked(order_[row]); }
  bool deleted(size_t row) const { return source_->deleted(order_[row]); }
  void* item(size_t row) const { return source_->item(order_[row]); }
  // Flips the row's record; returns its new state.
  bool toggle(size_t row);
  void set_checked(size_t row, bool checked) { source_->set_checked(order_[row], checked); }

  // The select-all box: checked when there is a record and every one is.
  bool all_checked() const;
  // Sets every record of the source.
  void set_all_checked(bool checked);

  // A click on column `column`'s title: the same column flips the
  // direction, another becomes the sorted column, ascending. The whole
  // source is ordered; the rows shown stay as many as before.
  void sort_by(int column);
  int sort_column() const { return sort_column_; }
  bool ascending() const { return ascending_; }

 private:
  void sync_order();
  void apply_sort();

  std::unique_ptr<ListRowSource> source_;
  std::vector<size_t> order_;  // row -> source index; covers the whole source
  size_t shown_ = 0;
  int sort_column_ = -1;
  bool ascending_ = true;
  TextCompare compare_;
};

}  // namespace qf::ui
