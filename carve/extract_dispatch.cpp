// The call every header match goes through: the entry's own extractor, after
// the suffix rule of its type.
#include "carve/extractor.h"

#include "carve/type_spec.h"

namespace qf {

bool filter_allows(std::string_view filter, std::string_view suffix) {
  return filter == "all" || suffix.find(filter) != std::string_view::npos;
}

std::uint64_t reread_lead(int type_code) {
  return type_code == kCodeMov || type_code == kCodeVjpeg || type_code == kCodeIsoMedia ? 4 : 0;
}

const unsigned char* dispatch_extractor(const header_match& match) {
  type_spec& entry = match.entry;
  if (!entry.extractor) return nullptr;  // wpd, gz, elf, reg: searched, never carved
  if (!entry.search_suffix.empty()) entry.suffix = std::string(entry.search_suffix);
  return entry.extractor(match);
}

}  // namespace qf
