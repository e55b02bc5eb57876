#pragma once
// Filling the report template "template.html" that stands beside the program:
// its first "var data = [];" receives the report's data and its first
// "<title></title>" the report's title. Everything else is copied byte for
// byte: no byte-order mark is added and no line ends are converted.
#include <string>

namespace qf {

enum class ExportResult {
  written,              // the report file holds the filled template
  nothing_to_export,    // no records: no file was written
  template_unreadable,  // the template is missing or cannot be read: no file
  report_not_written,   // the report cannot be created or written: no file
};

// "template.html" in the program's folder.
std::string ReportTemplatePath();

// Reads the template at `template_path`, replaces the first "var data = [];"
// with "var data = " + json + ";" and then the first "<title></title>" with
// "<title>" + title + "</title>", and writes the result to `report_path`
// (replacing a file of that name). A marker that is missing is skipped. When
// writing fails part-way the incomplete file is removed. Paths are UTF-8.
ExportResult FillReportTemplate(const std::string& title, const std::string& template_path,
                                const std::string& report_path, const std::string& json);

}  // namespace qf
