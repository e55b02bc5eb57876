#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/carve/extract_test_support.h"

namespace qf {
namespace {

using test::bytes;
using test::scan_run;
using test::found;
using test::found_in;
using test::placed;

constexpr std::uint64_t kAt = 6 * 512;

std::uint64_t include_at(const bytes& b) {
  const std::string word = "#include";
  return static_cast<std::uint64_t>(std::search(b.begin(), b.end(), word.begin(), word.end()) - b.begin());
}

bytes text(const std::string& s) { return bytes(s.begin(), s.end()); }

TEST(ExtractCSource, WholeFileFromItsLeadingCommentThroughItsLastByte) {
  QF_REQUIRE_DOCUMENT(file, "hello.c");
  scan_run h({"cpp"});
  type_spec& cpp = h.entry(0);
  const bytes image = placed(file, kAt, kAt + file.size() + 2048);
  const std::uint64_t match = kAt + include_at(file);
  ASSERT_GT(match, kAt);  // the comment comes first
  EXPECT_EQ(test::run(h, cpp, image, match, 1048576), static_cast<std::int64_t>(kAt + file.size()));
  EXPECT_EQ(found_in(cpp), (std::vector<found>{{"cpp", "2054.cpp", 1048576 + kAt, file.size()}}));
}

TEST(ExtractCSource, WindowsLineEndsAreText) {
  std::string source = "// tool\r\n#include \"tool.h\"\r\n\r\nint run(int argc) {\r\n  return argc;\r\n}\r\n";
  scan_run h({"cpp"});
  type_spec& cpp = h.entry(0);
  const bytes image = placed(text(source), 512, 4096);
  test::run(h, cpp, image, 512 + source.find("#include"));
  EXPECT_EQ(found_in(cpp), (std::vector<found>{{"cpp", "1.cpp", 512, source.size()}}));
}

TEST(ExtractCSource, ShortTextMissingNameOrIntIsNotSource) {
  scan_run h({"cpp"});
  type_spec& cpp = h.entry(0);
  // No quote or "<" in the first 20 bytes.
  EXPECT_EQ(test::run(h, cpp, placed(text("#include stdio and a long line of plain words that goes on"), 0, 1024), 0), 8);
  // Fewer than 50 text bytes from the match: goes on at its last text byte.
  const std::string short_text = "#include <a.h>\nint x;\n";
  EXPECT_EQ(test::run(h, cpp, placed(text(short_text), 0, 1024), 0), static_cast<std::int64_t>(short_text.size() - 1));
  // Long enough, but no "int" anywhere in the text.
  EXPECT_EQ(test::run(h, cpp, placed(text("#include <stdio.h>\n/* just a comment, long enough to count */\n"), 0, 1024), 0),
            -1);
  EXPECT_TRUE(found_in(cpp).empty());
}

TEST(ExtractCSource, SourceCrossingAChunkEndIsWholeWithoutAReRead) {
  QF_REQUIRE_DOCUMENT(file, "hello.c");
  const std::string program(file.begin() + static_cast<std::ptrdiff_t>(include_at(file)), file.end());
  std::string padding;
  while (padding.size() < 2048) padding += "/* a comment line long enough to fill the sector */\n";
  constexpr std::uint64_t kMiB = 1048576;
  const std::uint64_t at = kMiB - 512;  // quick mode finds "#include" at a sector start
  const struct {
    const char* why;
    std::string source;
  } cases[] = {
      {"its int lies before the chunk end", program + padding},
      {"its int lies past the chunk end", "#include <stdio.h>\n" + padding + program},
  };
  for (const auto& c : cases) {
    scan_run h({"cpp"});
    h.scan(placed(text(c.source), at, 2 * kMiB), 1);
    EXPECT_EQ(h.files(), (std::vector<found>{{"cpp", found_file_name(at, 512, "cpp"), at, c.source.size()}})) << c.why;
    // Past the chunk, only the small window the extractor reads: no re-read.
    EXPECT_LE(h.largest_extra_read(kMiB), 65536u) << c.why;
  }
}

TEST(ExtractCSource, NeverReadsBeforeTheBytesHeld) {
  // The match is the buffer's first byte: there is nothing before it to read.
  const bytes source = text("#include <stdio.h>\nint main(void) { return printf(\"text\"); }\n");
  scan_run h({"cpp"});
  type_spec& cpp = h.entry(0);
  EXPECT_EQ(test::run(h, cpp, source, 0, 8192), static_cast<std::int64_t>(source.size()));
  EXPECT_EQ(found_in(cpp), (std::vector<found>{{"cpp", "16.cpp", 8192, source.size()}}));
}

}  // namespace
}  // namespace qf
