#pragma once
// The names a -t list may use and what each selects: suffix, extractor code,
// header, footer, markers, size limit and case rule.
#include <cstdint>
#include <string_view>
#include <vector>

namespace qf {

struct type_definition {
  std::string_view suffix;
  int type_code;
  std::uint64_t max_len;
  std::string_view header;
  std::string_view footer;
  std::vector<std::string_view> markers;
  int case_sensitive;
};

// The entries one -t name selects, in order: one entry for most names, the
// fourteen of "all", none when the name is unknown. Names compare exactly.
std::vector<type_definition> definitions_for_name(std::string_view name);

// Every name definitions_for_name knows, "all" last (for a type listing).
std::vector<std::string_view> type_names();

}  // namespace qf
