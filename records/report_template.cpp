#include "records/report_template.h"

#include <filesystem>
#include <cstdio>
#include <memory>
#include <system_error>

#include "platform/paths.h"
#include "records/program_folder.h"
#include "records/whole_file.h"

namespace qf {

namespace {

constexpr std::string_view kDataMarker = "var data = [];";
constexpr std::string_view kTitleMarker = "<title></title>";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// C stdio rather than streams: a read error (the path is a folder, an I/O
// fault) is a return value here, where a stream buffer may throw. Binary
// mode: text mode on Windows would turn CR LF into LF and stop at a 0x1A
// byte, so the report would not keep the template's bytes.
File open_for_reading(const std::string& utf8_path) {
  const std::filesystem::path path = std::filesystem::u8path(utf8_path);
#ifdef _WIN32
  return File(_wfopen(path.c_str(), L"rb"));
#else
  return File(std::fopen(path.c_str(), "rb"));
#endif
}

bool read_whole_file(const std::string& utf8_path, std::string& out) {
  File in = open_for_reading(utf8_path);
  if (!in) return false;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) out.append(buffer, n);
  return !std::ferror(in.get());
}

void replace_first(std::string& text, std::string_view marker, const std::string& replacement) {
  const std::size_t at = text.find(marker);
  if (at != std::string::npos) text.replace(at, marker.size(), replacement);
}

}  // namespace

std::string ReportTemplatePath() { return join_path(program_folder(), "template.html"); }

ExportResult FillReportTemplate(const std::string& title, const std::string& template_path,
                                const std::string& report_path, const std::string& json) {
  std::string text;
  if (!read_whole_file(template_path, text)) return ExportResult::template_unreadable;
  // Data first, then the title, as the template's own markers stand; the
  // data cannot hold a second "<title></title>" since "<" is escaped in it.
  replace_first(text, kDataMarker, "var data = " + json + ";");
  replace_first(text, kTitleMarker, "<title>" + title + "</title>");

  // A half-written report would look complete to the user: it is removed.
  if (WriteWholeFile(report_path, text) == WholeFileResult::written) return ExportResult::written;
  return ExportResult::report_not_written;
}

}  // namespace qf
