#pragma once
// Dotted version texts as the update server writes them ("2.0.1.0"), compared
// numerically piece by piece. The server's text is untrusted: only a plain
// dotted version of reasonable length is readable; anything else counts as
// "no newer version" and is never shown to the user.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qf::ui {

constexpr std::size_t kMaxVersionTextLength = 32;
constexpr std::size_t kMaxVersionPieces = 8;
constexpr std::size_t kMaxVersionPieceDigits = 9;  // every piece fits in 32 bits

// The pieces of `text`, or nothing when it is not a plain dotted version: one
// to kMaxVersionPieces pieces of 1 to kMaxVersionPieceDigits ASCII digits
// separated by single dots, at most kMaxVersionTextLength characters, no
// blanks, signs or anything else.
std::optional<std::vector<std::uint32_t>> read_dotted_version(std::string_view text);

bool is_plain_version(std::string_view text);

// True when `candidate` is strictly newer than `current`: pieces compared
// left to right, a missing piece counting as 0 (2.1 equals 2.1.0.0). An
// unreadable text on either side is never newer.
bool is_newer_version(std::string_view candidate, std::string_view current);

}  // namespace qf::ui
