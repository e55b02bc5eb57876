#pragma once
// The names a -t list may use and what each selects: suffix, extractor code,
// header, footer, markers, size limit, case rule, and the extractor with its
// filter and suffix rule.
#include <cstdint>
#include <string_view>
#include <vector>

#include "carve/extractor.h"

namespace qf {

struct type_definition {
  std::string_view suffix;
  int type_code;
  std::uint64_t max_len;
  std::string_view header;
  std::string_view footer;
  std::vector<std::string_view> markers;
  int case_sensitive;
  extractor_fn extractor = nullptr;  // null: searched, never carved (wpd, gz, elf, reg)
  std::string_view filter = "all";  // the suffixes the extractor records
  std::string_view search_suffix = {};  // the suffix each extractor call starts from, when not the type's own
};

// The entries one -t name selects, in order: one entry for most names, the
// fourteen of "all", none when the name is unknown. Names compare exactly.
std::vector<type_definition> definitions_for_name(std::string_view name);

// Every name definitions_for_name knows, "all" last (for a type listing).
std::vector<std::string_view> type_names();

}  // namespace qf
