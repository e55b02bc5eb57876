#include "ui/update_version.h"

#include <algorithm>

namespace qf::ui {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::uint32_t> read_piece(std::string_view piece) {
  if (piece.empty() || piece.size() > kMaxVersionPieceDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : piece) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<std::vector<std::uint32_t>> read_dotted_version(std::string_view text) {
  if (text.empty() || text.size() > kMaxVersionTextLength) return std::nullopt;
  std::vector<std::uint32_t> pieces;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find('.', start);
    std::string_view piece = text.substr(start, dot == std::string_view::npos ? dot : dot - start);
    std::optional<std::uint32_t> value = read_piece(piece);
    if (!value || pieces.size() == kMaxVersionPieces) return std::nullopt;
    pieces.push_back(*value);
    if (dot == std::string_view::npos) return pieces;
    start = dot + 1;
  }
}

bool is_plain_version(std::string_view text) { return read_dotted_version(text).has_value(); }

bool is_newer_version(std::string_view candidate, std::string_view current) {
  auto newer = read_dotted_version(candidate);
  auto now = read_dotted_version(current);
  if (!newer || !now) return false;
  std::size_t count = std::max(newer->size(), now->size());
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t a = i < newer->size() ? (*newer)[i] : 0;
    std::uint32_t b = i < now->size() ? (*now)[i] : 0;
    if (a != b) return a > b;
  }
  return false;
}

}  // namespace qf::ui
