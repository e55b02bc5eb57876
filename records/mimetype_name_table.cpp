#include "records/mimetype_name_table.h"

namespace qf {

MimetypeNameTable& mimetype_name_table() {
  static MimetypeNameTable table;
  return table;
}

const std::string& MimetypeNameOf(const MimetypeNameTable& table, std::int32_t id) {
  static const std::string empty;
  auto it = table.find(id);
  return it == table.end() ? empty : it->second;
}

}  // namespace qf
