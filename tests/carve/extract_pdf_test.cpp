#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tests/carve/extract_test_support.h"

namespace qf {
namespace {

using test::bytes;
using test::scan_run;
using test::found;
using test::found_in;
using test::placed;

std::uint64_t find_text(const bytes& b, const std::string& text, std::uint64_t from = 0) {
  auto it = std::search(b.begin() + static_cast<std::ptrdiff_t>(from), b.end(), text.begin(), text.end());
  return static_cast<std::uint64_t>(it - b.begin());
}

TEST(ExtractPdf, PlainAndLinearizedFilesFoundWhole) {
  for (const char* name : {"plain.pdf", "linear.pdf"}) {
    QF_REQUIRE_DOCUMENT(file, name);
    scan_run h({"pdf"});
    type_spec& pdf = h.entry(0);
    const bytes image = placed(file, 4096, file.size() + 8192);
    EXPECT_EQ(test::run(h, pdf, image, 4096), static_cast<std::int64_t>(4096 + file.size())) << name;
    EXPECT_EQ(found_in(pdf), (std::vector<found>{{"pdf", "8.pdf", 4096, file.size()}})) << name;
  }
}

TEST(ExtractPdf, IncrementalUpdatesAreKeptButNotAFileThatFollows) {
  QF_REQUIRE_DOCUMENT(file, "updated_twice.pdf");
  QF_REQUIRE_DOCUMENT(plain, "plain.pdf");
  const std::uint64_t first_eof = find_text(file, "%%EOF");
  ASSERT_LT(find_text(file, "%%EOF", first_eof + 1), file.size());  // there are more
  // Another PDF right after: its objects open like an update, but no
  // "startxref" of it points back into the space after the first file.
  bytes image = placed(file, 0, file.size() + plain.size() + 4096);
  std::copy(plain.begin(), plain.end(), image.begin() + static_cast<std::ptrdiff_t>(file.size()));
  scan_run h({"pdf"});
  type_spec& pdf = h.entry(0);
  test::run(h, pdf, image, 0);
  EXPECT_EQ(found_in(pdf), (std::vector<found>{{"pdf", "0.pdf", 0, file.size()}}));
}

TEST(ExtractPdf, LinearizedLengthPastTheDataIsLeftToTheReRead) {
  QF_REQUIRE_DOCUMENT(file, "linear.pdf");
  bytes longer = file;
  const std::uint64_t key = find_text(longer, "/L ");
  ASSERT_LT(key, 512u);
  std::memcpy(&longer[key + 3], "9999", 4);  // the file claims 9,999 bytes; 2,781 are here
  scan_run h({"pdf"});
  type_spec& pdf = h.entry(0);
  EXPECT_EQ(test::run(h, pdf, longer, 0), -1);  // within max_len: the loop re-reads
  pdf.max_len = 5000;                      // beyond the type's limit: not this file
  EXPECT_EQ(test::run(h, pdf, longer, 0), static_cast<std::int64_t>(key + 3));
  EXPECT_TRUE(found_in(pdf).empty());
}

TEST(ExtractPdf, NoObjectNearTheStartOrTooShortOrNoEof) {
  QF_REQUIRE_DOCUMENT(file, "plain.pdf");
  scan_run h({"pdf"});
  type_spec& pdf = h.entry(0);
  bytes no_object = placed(bytes{'%', 'P', 'D', 'F', '-', '1', '.', '4', '\n'}, 0, 4096, ' ');
  EXPECT_EQ(test::run(h, pdf, no_object, 0), 8 + 1024);  // "%PDF-1.4" and a KiB
  // Fewer than 512 bytes after the header.
  const bytes short_file(file.begin(), file.begin() + 400);
  EXPECT_EQ(test::run(h, pdf, short_file, 0), -1);
  // Cut before its "%%EOF": the end lies past the data.
  const bytes truncated(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(find_text(file, "%%EOF")));
  EXPECT_EQ(test::run(h, pdf, truncated, 0), -1);
  EXPECT_TRUE(found_in(pdf).empty());
}

}  // namespace
}  // namespace qf
