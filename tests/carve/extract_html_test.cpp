#include <gtest/gtest.h>

#include <string>

#include "tests/carve/extract_test_support.h"

namespace qf {
namespace {

using test::bytes;
using test::scan_run;
using test::found;
using test::found_in;
using test::placed;

std::uint64_t end_of_closing_tag(const bytes& file) {
  std::string text(file.begin(), file.end());
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text.find("</html>") + 7;
}

bytes text_bytes(const std::string& s) { return bytes(s.begin(), s.end()); }

TEST(ExtractHtml, MixedCaseAndWindowsLineEndsFoundWithTheLineEndAfterTheClosingTag) {
  for (const char* name : {"mixed.html", "crlf.html"}) {
    QF_REQUIRE_DOCUMENT(file, name);
    scan_run h({"htm"});
    type_spec& htm = h.entry(0);
    const bytes image = placed(file, 3 * 512, 8192);
    const std::uint64_t size = file.size();
    ASSERT_EQ(end_of_closing_tag(file) + (file[size - 2] == '\r' ? 2 : 1), size);
    EXPECT_EQ(test::run(h, htm, image, 3 * 512, 1048576), static_cast<std::int64_t>(3 * 512 + size)) << name;
    EXPECT_EQ(found_in(htm), (std::vector<found>{{"htm", "2051.htm", 1048576 + 3 * 512, size}})) << name;
  }
}

TEST(ExtractHtml, BinaryAfterTheTagGoesOnSixteenBytesOn) {
  scan_run h({"htm"});
  type_spec& htm = h.entry(0);
  bytes image = placed(text_bytes("<html><body>x</body></html>"), 0, 4096);
  image[5 + 7] = 0x01;  // a control byte among the first 16 after "<html"
  EXPECT_EQ(test::run(h, htm, image, 0), 5 + 16);
  EXPECT_TRUE(found_in(htm).empty());
}

TEST(ExtractHtml, ShortUnclosedTextIsNoPageAndATextRunCutByTheDataGivesUp) {
  scan_run h({"htm"});
  type_spec& htm = h.entry(0);
  const bytes open_only = placed(text_bytes("<html><head><title>no end</title></head>"), 0, 4096);
  EXPECT_EQ(test::run(h, htm, open_only, 0), 5);
  // Fewer than 16 bytes after the tag: nothing to judge, left to the re-read.
  const bytes short_tail = text_bytes("<html><body>");
  EXPECT_EQ(test::run(h, htm, short_tail, 0), -1);
  // The white space after the closing tag may go on past the data.
  const bytes at_end = text_bytes("<html><body>sixteen bytes here</html>");
  EXPECT_EQ(test::run(h, htm, at_end, 0), -1);
  EXPECT_TRUE(found_in(htm).empty());
}

}  // namespace
}  // namespace qf
