#include "ui/preview_name.h"

#include <cstring>

namespace qf::ui {
namespace {

constexpr std::size_t kLongestKeptExtension = 16;

std::string file_name_safe(std::string name) {
  for (char& c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::strchr("\\/:*?\"<>|", c)) c = '_';
  }
  return name;
}

// The longest prefix of `text` of at most `bytes` bytes that ends between
// two UTF-8 characters.
std::string utf8_prefix(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t cut = bytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

}  // namespace

std::uint64_t preview_ids::next_ = 1;

std::uint64_t preview_ids::id_of(const void* item) {
  auto [it, added] = ids_.emplace(item, next_);
  if (added) ++next_;
  return it->second;
}

std::string preview_file_name(std::uint64_t id, const std::string& name, std::size_t limit) {
  const std::string prefix = std::to_string(id) + "-";
  const std::string safe = file_name_safe(name);
  if (prefix.size() + safe.size() <= limit) return prefix + safe;
  const auto dot = safe.rfind('.');
  std::string ext = dot == std::string::npos ? "" : safe.substr(dot);
  if (ext.size() > kLongestKeptExtension || prefix.size() + ext.size() > limit) ext.clear();
  const std::string stem = ext.empty() ? safe : safe.substr(0, dot);
  const std::size_t room = limit > prefix.size() + ext.size() ? limit - prefix.size() - ext.size() : 0;
  return utf8_prefix(prefix + utf8_prefix(stem, room) + ext, limit);
}

}  // namespace qf::ui
