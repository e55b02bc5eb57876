#include "records/csv_row.h"

namespace qf {

namespace {

bool needs_quotes(const std::string& f) {
  if (f.empty()) return false;
  if (f.front() == ' ' || f.back() == ' ') return true;
  return f.find_first_of(std::string(",\"\r\n\0", 5)) != std::string::npos;
}

}  // namespace

void AppendCsvRow(std::string& out, const std::vector<std::string>& fields, const char* line_end) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    const std::string& f = fields[i];
    if (!needs_quotes(f)) {
      out += f;
      continue;
    }
    out += '"';
    for (char ch : f) {
      if (ch == '"') out += '"';
      out += ch;
    }
    out += '"';
  }
  out += line_end;
}

}  // namespace qf
