#pragma once
// One CSV record as RFC 4180 writes it: fields separated by commas, a field
// that holds a comma, a quotation mark, CR, LF or a leading or trailing
// blank enclosed in quotation marks with its own marks doubled, CR LF at
// the end (or `line_end`, for files whose readers expect LF). Bytes go out
// as given (the caller makes them UTF-8).
#include <string>
#include <vector>

namespace qf {

void AppendCsvRow(std::string& out, const std::vector<std::string>& fields, const char* line_end = "\r\n");

}  // namespace qf
