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

constexpr std::uint64_t kAt = 2 * 512;

TEST(ExtractZip, ArchivesAndOfficeFilesFoundWholeWithTheirSuffix) {
  struct sample { const char* file; const char* suffix; };
  for (const sample& c : {sample{"plain.zip", "zip"}, sample{"hello.jar", "jar"}, sample{"office.sxw", "sxw"},
                          sample{"office.sxc", "sxc"}, sample{"office.sxi", "sxi"}}) {
    QF_REQUIRE_DOCUMENT(file, c.file);
    scan_run h({"zip"});
    type_spec& zip = h.entry(0);
    const bytes image = placed(file, kAt, kAt + file.size() + 4096);
    // The search goes on at the end record's last two bytes (its comment length).
    EXPECT_EQ(test::run(h, zip, image, kAt), static_cast<std::int64_t>(kAt + file.size() - 2)) << c.file;
    EXPECT_EQ(found_in(zip), (std::vector<found>{{"zip", std::string("2.") + c.suffix, kAt, file.size()}})) << c.file;
  }
}

TEST(ExtractZip, DataDescriptorEntryEndsAtTheEndRecordWithinMaxLen) {
  QF_REQUIRE_DOCUMENT(file, "note.docx");  // every entry's sizes follow its data
  scan_run h({"zip"});
  type_spec& zip = h.entry(0);
  test::run(h, zip, placed(file, 0, file.size() + 4096), 0);
  EXPECT_EQ(found_in(zip), (std::vector<found>{{"zip", "0.zip", 0, file.size()}}));
  // With a limit shorter than the archive the end record lies out of reach.
  scan_run small({"zip"});
  type_spec& limited = small.entry(0);
  limited.max_len = 1024;
  const std::int64_t after_first = 30 + (file[26] | file[27] << 8) + (file[28] | file[29] << 8);
  // It is kept as far as its entries were walked, marked as not whole.
  EXPECT_EQ(test::run(small, limited, placed(file, 0, file.size() + 4096), 0), after_first);
  ASSERT_EQ(found_in(limited).size(), 1u);
  EXPECT_EQ(found_in(limited)[0].size, static_cast<std::uint64_t>(after_first));
  EXPECT_FALSE(limited.folder->first_file->end_validated);
}

TEST(ExtractZip, OfficeEntriesRecordOnlyTheirOwnKind) {
  QF_REQUIRE_DOCUMENT(calc, "office.sxc");
  scan_run h({"sxw", "sxc"});
  type_spec& sxw = h.entry(0);
  type_spec& sxc = h.entry(1);
  const bytes image = placed(calc, 0, calc.size() + 4096);
  EXPECT_EQ(test::run(h, sxw, image, 0), static_cast<std::int64_t>(calc.size() - 2));
  test::run(h, sxc, image, 0);
  EXPECT_TRUE(found_in(sxw).empty());
  EXPECT_EQ(found_in(sxc), (std::vector<found>{{"sxc", "0.sxc", 0, calc.size()}}));
}

TEST(ExtractZip, ArchiveCrossingTheEndOfTheDataIsLeftToTheReRead) {
  QF_REQUIRE_DOCUMENT(file, "plain.zip");
  scan_run h({"zip"});
  type_spec& zip = h.entry(0);
  // The entries fit, the central directory does not: the file goes on past
  // the data, and the loop re-reads it when the data is short of max_len.
  const bytes no_directory(file.begin(), file.end() - 40);
  EXPECT_EQ(test::run(h, zip, no_directory, 0), -1);
  // An entry's data that runs past the data held.
  const bytes cut_entry(file.begin(), file.begin() + 100);
  EXPECT_EQ(test::run(h, zip, cut_entry, 0), -1);
  EXPECT_TRUE(found_in(zip).empty());
}

TEST(ExtractZip, ImplausibleHeadersGoOn) {
  QF_REQUIRE_DOCUMENT(file, "plain.zip");
  scan_run h({"zip"});
  type_spec& zip = h.entry(0);
  bytes long_name = placed(file, 0, file.size() + 4096);
  test::put_le16(long_name, 26, 101);
  EXPECT_EQ(test::run(h, zip, long_name, 0), 4);
  bytes huge_entry = placed(file, 0, file.size() + 4096);
  test::put_le32(huge_entry, 18, static_cast<std::uint32_t>(zip.max_len + 1));
  EXPECT_EQ(test::run(h, zip, huge_entry, 0), 4);
  EXPECT_EQ(test::run(h, zip, bytes(file.begin(), file.begin() + 60), 0), -1);  // under 100 bytes
  EXPECT_TRUE(found_in(zip).empty());
}

}  // namespace
}  // namespace qf
