#include "ui/check_list_model.h"

#include <algorithm>
#include <numeric>

namespace qf::ui {

void CheckListModel::fill(std::unique_ptr<ListRowSource> source) {
  source_ = std::move(source);
  order_.clear();
  shown_ = 0;
  if (!source_) return;
  if (sort_column_ >= static_cast<int>(columns_for(source_->mode()).size())) sort_column_ = -1;
  sync_order();
  apply_sort();
  shown_ = std::min(kPage, order_.size());
}

void CheckListModel::clear() { fill(nullptr); }

size_t CheckListModel::records() const { return source_ ? source_->size() : 0; }

// Records the source gained since the order was made go to its end.
void CheckListModel::sync_order() {
  size_t had = order_.size();
  size_t now = records();
  if (now <= had) return;
  order_.resize(now);
  std::iota(order_.begin() + static_cast<std::ptrdiff_t>(had), order_.end(), had);
}

size_t CheckListModel::load_more() {
  sync_order();
  size_t before = shown_;
  shown_ = std::min(shown_ + kPage, order_.size());
  return shown_ - before;
}

bool CheckListModel::toggle(size_t row) {
  bool now = !checked(row);
  set_checked(row, now);
  return now;
}

bool CheckListModel::all_checked() const {
  size_t n = records();
  if (n == 0) return false;
  for (size_t i = 0; i < n; ++i)
    if (!source_->checked(i)) return false;
  return true;
}

void CheckListModel::set_all_checked(bool checked) {
  size_t n = records();
  for (size_t i = 0; i < n; ++i) source_->set_checked(i, checked);
}

void CheckListModel::sort_by(int column) {
  if (!source_ || column < 0 || column >= static_cast<int>(columns_for(source_->mode()).size())) return;
  ascending_ = column == sort_column_ ? !ascending_ : true;
  sort_column_ = column;
  sync_order();
  apply_sort();
}

// The keys are taken once per record, so the sort compares plain values.
void CheckListModel::apply_sort() {
  if (sort_column_ < 0 || order_.empty()) return;
  const SortKind kind = columns_for(source_->mode())[static_cast<size_t>(sort_column_)].sort;
  const int column = sort_column_;
  std::vector<size_t> sorted(order_.size());
  std::iota(sorted.begin(), sorted.end(), size_t{0});
  auto by_direction = [this](int c) { return ascending_ ? c < 0 : c > 0; };
  if (kind == SortKind::Text) {
    std::vector<std::string> keys(order_.size());
    for (size_t i = 0; i < keys.size(); ++i) keys[i] = source_->cell(i, column);
    TextCompare compare = compare_ ? compare_ : [](const std::string& a, const std::string& b) {
      return a.compare(b);
    };
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](size_t a, size_t b) { return by_direction(compare(keys[a], keys[b])); });
  } else {
    std::vector<std::uint64_t> keys(order_.size());
    for (size_t i = 0; i < keys.size(); ++i) keys[i] = source_->sort_value(i, column);
    std::stable_sort(sorted.begin(), sorted.end(), [&](size_t a, size_t b) {
      return by_direction(keys[a] < keys[b] ? -1 : keys[a] > keys[b] ? 1 : 0);
    });
  }
  order_ = std::move(sorted);
}

}  // namespace qf::ui
