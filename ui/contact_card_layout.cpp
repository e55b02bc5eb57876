#include "ui/contact_card_layout.h"

#include <algorithm>

namespace qf::ui {

const std::array<CardRow, kCardRows>& card_rows() {
  static const std::array<CardRow, kCardRows> rows = {{{L"Name:", 102, 122, 122},
                                                       {L"Phone:", 122, 142, 142},
                                                       {L"Email:", 152, 172, 172},
                                                       {L"Note:", 172, 192, 222},
                                                       {L"Company:", 222, 242, 242},
                                                       {L"Address:", 242, 262, 292},
                                                       {L"IM:", 292, 312, 312},
                                                       {L"NickName:", 312, 332, 332},
                                                       {L"Website:", 332, 352, 352},
                                                       {L"Others:", 352, 372, 372}}};
  return rows;
}

const std::string& card_value(const ContactRecord& c, int row) {
  switch (row) {
    case 0: return c.name;
    case 1: return c.phone;
    case 2: return c.email;
    case 3: return c.note;
    case 4: return c.organization;
    case 5: return c.postal_address;
    case 6: return c.im;
    case 7: return c.nickname;
    case 8: return c.website;
    default: return c.others;
  }
}

namespace {

// Length of the UTF-8 character at the front of `text` (1 for a stray byte).
size_t char_length(std::string_view text) {
  unsigned char lead = static_cast<unsigned char>(text[0]);
  size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  n = std::min(n, text.size());
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return i;
  return n;
}

}  // namespace

std::vector<std::string> break_lines(std::string_view text, int max_width,
                                     const std::function<int(std::string_view)>& width_of) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::string line;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      continue;
    }
    size_t n = char_length(text.substr(i));
    std::string longer = line + std::string(text.substr(i, n));
    if (!line.empty() && width_of(longer) > max_width - 1) {
      lines.push_back(std::move(line));
      line = std::string(text.substr(i, n));
    } else {
      line = std::move(longer);
    }
    i += n;
  }
  lines.push_back(std::move(line));
  return lines;
}

std::array<CardRow, kCardRows> layout_card(const std::array<int, kCardRows>& lines, int line_height,
                                           int* card_height) {
  std::array<CardRow, kCardRows> rows = card_rows();
  int shift = 0;
  for (int i = 0; i < kCardRows; ++i) {
    CardRow& row = rows[static_cast<size_t>(i)];
    row.top += shift;
    row.label_bottom += shift;
    row.value_bottom += shift;
    int needed = row.top + lines[static_cast<size_t>(i)] * line_height;
    if (needed > row.value_bottom) {
      shift += needed - row.value_bottom;
      row.value_bottom = needed;
    }
  }
  if (card_height) *card_height = rows.back().value_bottom + kCardBottomMargin;
  return rows;
}

}  // namespace qf::ui
