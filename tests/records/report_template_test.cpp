#include "records/report_template.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/temp_dir.h"

namespace qf {
namespace {

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(std::filesystem::u8path(path), std::ios::binary) << bytes;
}

std::string read_file(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FillReportTemplate, ReplacesOnlyTheFirstOfEachMarkerAndKeepsEveryOtherByte) {
  test::TempDir dir;
  const std::string templ =
      "\xEF\xBB\xBF<head>\r\n<title></title>\r\n</head>\r\n<script>var data = [];\r\n"
      "var data = [];<title></title>\x1A tail</script>\n";
  write_file(dir.file("template.html"), templ);
  ASSERT_EQ(FillReportTemplate("Contacts", dir.file("template.html"), dir.file("out.html"),
                               R"([["ID"],["1"]])"),
            ExportResult::written);
  const std::string expected =
      "\xEF\xBB\xBF<head>\r\n<title>Contacts</title>\r\n</head>\r\n<script>var data = "
      "[[\"ID\"],[\"1\"]];\r\nvar data = [];<title></title>\x1A tail</script>\n";
  EXPECT_EQ(read_file(dir.file("out.html")), expected);
}

TEST(FillReportTemplate, OverwritesAnOldReportAndSkipsMissingMarkers) {
  test::TempDir dir;
  write_file(dir.file("t.html"), "no markers here");
  write_file(dir.file("r.html"), "an older, much longer report that must go away");
  EXPECT_EQ(FillReportTemplate("Messages", dir.file("t.html"), dir.file("r.html"), "[]"),
            ExportResult::written);
  EXPECT_EQ(read_file(dir.file("r.html")), "no markers here");
}

TEST(FillReportTemplate, MissingTemplateWritesNoReport) {
  test::TempDir dir;
  EXPECT_EQ(FillReportTemplate("Contacts", dir.file("absent.html"), dir.file("r.html"), "[]"),
            ExportResult::template_unreadable);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "r.html"));
  // A folder where the template should be is no readable template either.
  std::filesystem::create_directory(dir.path() / "folder.html");
  EXPECT_EQ(FillReportTemplate("Contacts", dir.file("folder.html"), dir.file("r.html"), "[]"),
            ExportResult::template_unreadable);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "r.html"));
}

TEST(FillReportTemplate, UncreatableReportIsReported) {
  test::TempDir dir;
  write_file(dir.file("t.html"), "<title></title>var data = [];");
  EXPECT_EQ(FillReportTemplate("Contacts", dir.file("t.html"), dir.file("no-such-folder/r.html"), "[]"),
            ExportResult::report_not_written);
  std::filesystem::create_directory(dir.path() / "taken.html");
  EXPECT_EQ(FillReportTemplate("Contacts", dir.file("t.html"), dir.file("taken.html"), "[]"),
            ExportResult::report_not_written);
}

TEST(FillReportTemplate, NonAsciiPaths) {
  test::TempDir dir;
  const std::string folder = dir.file("Kont\xC3\xA4kte \xE6\x9D\x8E");
  std::filesystem::create_directory(std::filesystem::u8path(folder));
  write_file(folder + "/t\xC3\xA9.html", "<title></title>");
  EXPECT_EQ(FillReportTemplate("Contacts", folder + "/t\xC3\xA9.html", folder + "/r\xC3\xA9.html", "[]"),
            ExportResult::written);
  EXPECT_EQ(read_file(folder + "/r\xC3\xA9.html"), "<title>Contacts</title>");
}

}  // namespace
}  // namespace qf
