#pragma once
// The contact card: ten labelled rows, each value broken into lines. Rows
// whose values fit keep their places (Name at 102, ..., Others ending at
// 372); a value with more lines than its box holds makes the box taller and
// moves the rows below it down, so nothing is cut off and the pane's scroll
// range, which follows the card's height, reaches all of it.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "records/contact_record.h"

namespace qf::ui {

constexpr int kCardRows = 10;
constexpr int kCardBottomMargin = 10;

struct CardRow {
  const wchar_t* label;
  int top;           // label and value box top
  int label_bottom;
  int value_bottom;  // value box bottom
};

// The rows as laid out for values that fit their boxes.
const std::array<CardRow, kCardRows>& card_rows();

// The value of row `row` of `contact` (UTF-8).
const std::string& card_value(const ContactRecord& contact, int row);

// `text` broken into lines no wider than `max_width` - 1: a line ends at a
// carriage return or line feed (CR LF counts once), or before the first
// character that would make it wider. A character wider than the box alone
// still gets a line of its own. `width_of` measures a UTF-8 text.
std::vector<std::string> break_lines(std::string_view text, int max_width,
                                     const std::function<int(std::string_view)>& width_of);

// The rows for values of `lines[i]` lines each at `line_height`, and the
// card's height (the last box's bottom plus a margin).
std::array<CardRow, kCardRows> layout_card(const std::array<int, kCardRows>& lines, int line_height,
                                           int* card_height);

}  // namespace qf::ui
