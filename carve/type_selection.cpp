#include "carve/type_selection.h"

#include <string>

#include "carve/cdr_node.h"
#include "carve/type_spec.h"

namespace qf {

std::array<type_spec, kTypeSpecCapacity> type_spec_table;

namespace {

std::vector<unsigned char> bytes_of(std::string_view s) { return {s.begin(), s.end()}; }

void set_search_string(std::vector<unsigned char>& bytes, unsigned& length, skip_table& skip,
                       std::string_view text, int case_sensitive) {
  bytes = bytes_of(text);
  length = static_cast<unsigned>(bytes.size());
  build_skip_table(skip, bytes.data(), bytes.size(), case_sensitive);
}

}  // namespace

bool select_type(carve_state& state, const type_definition& definition) {
  if (state.type_count >= kTypeSpecCapacity) return false;
  type_spec& entry = type_spec_table[static_cast<std::size_t>(state.type_count)];
  entry = type_spec{};
  entry.suffix = std::string(definition.suffix);
  entry.type_code = definition.type_code;
  entry.extractor = definition.extractor;
  entry.filter = definition.filter;
  entry.search_suffix = definition.search_suffix;
  entry.max_len = definition.max_len;
  entry.case_sensitive = definition.case_sensitive;
  set_search_string(entry.header, entry.header_len, entry.header_skip, definition.header,
                    entry.case_sensitive);
  set_search_string(entry.footer, entry.footer_len, entry.footer_skip, definition.footer,
                    entry.case_sensitive);
  for (std::string_view marker : definition.markers) {
    if (entry.marker_count >= kMaxMarkers) break;
    type_marker& m = entry.markers[static_cast<std::size_t>(entry.marker_count++)];
    set_search_string(m.bytes, m.length, m.skip, marker, entry.case_sensitive);
  }
  if (state.partition) {
    auto* folder = new cdr_node;
    folder->name = entry.suffix;
    append_child(state.partition, folder);
    entry.folder = folder;
  }
  ++state.type_count;
  return true;
}

int select_type_name(carve_state& state, std::string_view name) {
  const std::vector<type_definition> definitions = definitions_for_name(name);
  if (definitions.empty()) return -1;
  int refused = 0;
  for (const auto& d : definitions) {
    if (!select_type(state, d)) ++refused;
  }
  return refused;
}

std::string category_type_list(int category_mask) {
  static const struct {
    int bit;
    const char* names;
  } kCategories[] = {
      {1, "jpg,png,gif,bmp"},
      {2, "mpg,avi,wmv,mov,wav,vjpeg,rif"},
      {4, "pdf,doc,htm,xls,ppt,cpp,sxw,sxc,sxi,wpd"},
  };
  std::string list;
  for (const auto& c : kCategories) {
    if (!(category_mask & c.bit)) continue;
    if (!list.empty()) list += ',';
    list += c.names;
  }
  return list;
}

}  // namespace qf
