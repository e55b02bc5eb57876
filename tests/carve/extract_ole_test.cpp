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

constexpr std::uint64_t kAt = 8 * 512;

// The size estimate covers the file in whole sectors with at most a few
// sectors of slack after it.
void expect_covers(const found& f, std::uint64_t offset, std::uint64_t length, const std::string& name) {
  EXPECT_EQ(f.name, name);
  EXPECT_EQ(f.offset, offset);
  EXPECT_EQ(f.size % 512, 0u);
  EXPECT_GE(f.size, length) << name;
  EXPECT_LE(f.size, length + 4 * 512) << name;
}

// The byte offset of a UTF-16 directory name in a compound file.
std::uint64_t utf16_name_at(const bytes& file, const std::string& name) {
  bytes wide;
  for (char c : name) {
    wide.push_back(static_cast<unsigned char>(c));
    wide.push_back(0);
  }
  return static_cast<std::uint64_t>(std::search(file.begin(), file.end(), wide.begin(), wide.end()) - file.begin());
}

TEST(ExtractOle, OfficeFilesNamedByTheirStreams) {
  struct sample { const char* file; const char* type; const char* suffix; };
  for (const sample& c : {sample{"note.doc", "doc", "doc"}, sample{"sheet.xls", "xls", "xls"},
                          sample{"slides.ppt", "ppt", "ppt"}}) {
    QF_REQUIRE_DOCUMENT(file, c.file);
    scan_run h({c.type});
    type_spec& entry = h.entry(0);
    const bytes image = placed(file, kAt, kAt + file.size() + 16384);
    ASSERT_GT(test::run(h, entry, image, kAt, 1048576), static_cast<std::int64_t>(kAt)) << c.file;
    const auto files = found_in(entry);
    ASSERT_EQ(files.size(), 1u) << c.file;
    expect_covers(files[0], 1048576 + kAt, file.size(), std::to_string((1048576 + kAt) / 512) + "." + c.suffix);
  }
}

TEST(ExtractOle, OleFolderHoldsEachSuffixAndFiltersSkipOthers) {
  QF_REQUIRE_DOCUMENT(doc, "note.doc");
  QF_REQUIRE_DOCUMENT(xls, "sheet.xls");
  scan_run h({"ole", "xls"});
  type_spec& ole = h.entry(0);
  type_spec& xls_entry = h.entry(1);
  const bytes image = placed(doc, kAt, kAt + doc.size() + 16384);
  test::run(h, ole, image, kAt);
  const bytes sheet = placed(xls, kAt, kAt + xls.size() + 16384);
  test::run(h, ole, sheet, kAt);
  const auto files = found_in(ole);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "8.doc");
  EXPECT_EQ(files[1].name, "8.xls");
  EXPECT_EQ(ole.folder->name, "ole");
  // The xls entry skips a Word document but still goes on past it.
  EXPECT_GT(test::run(h, xls_entry, image, kAt), static_cast<std::int64_t>(kAt + 512));
  EXPECT_TRUE(found_in(xls_entry).empty());
}

TEST(ExtractOle, NoKeywordStreamKeepsOle) {
  QF_REQUIRE_DOCUMENT(doc, "note.doc");
  bytes plain = doc;
  const std::uint64_t at = utf16_name_at(plain, "WordDocument");
  ASSERT_LT(at, plain.size());
  plain[at] = 'X';  // "XordDocument": no keyword left in any name
  scan_run h({"ole"});
  type_spec& ole = h.entry(0);
  test::run(h, ole, placed(plain, 0, plain.size() + 8192), 0);
  const auto files = found_in(ole);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "0.ole");
}

TEST(ExtractOle, SectorShiftTwelveIsRejected) {
  QF_REQUIRE_DOCUMENT(doc, "note.doc");
  bytes big_sectors = placed(doc, 0, doc.size() + 8192);
  test::put_le16(big_sectors, 30, 12);
  scan_run h({"ole"});
  type_spec& ole = h.entry(0);
  EXPECT_EQ(test::run(h, ole, big_sectors, 0), 512);
  EXPECT_TRUE(found_in(ole).empty());
}

TEST(ExtractOle, DirectoryOrDifatPastTheDataIsLeftToTheReRead) {
  QF_REQUIRE_DOCUMENT(doc, "note.doc");
  scan_run h({"ole"});
  type_spec& ole = h.entry(0);
  // The directory sector lies past the bytes held: the file crosses their end.
  const std::uint64_t directory = static_cast<std::uint32_t>(doc[48] | doc[49] << 8);
  const bytes cut(doc.begin(), doc.begin() + static_cast<std::ptrdiff_t>(directory * 512));
  EXPECT_EQ(test::run(h, ole, cut, 0), -1);
  // A DIFAT sector past the data, likewise.
  bytes difat = doc;
  test::put_le32(difat, 68, 40);
  test::put_le32(difat, 72, 1);
  EXPECT_EQ(test::run(h, ole, difat, 0), -1);
  // Past the type's limit the sector cannot belong to this file: go on.
  ole.max_len = directory * 512;
  EXPECT_GT(test::run(h, ole, cut, 0), 0);
  EXPECT_TRUE(found_in(ole).empty());
}

TEST(ExtractOle, ImplausibleDirectoryGoesOnWithoutRecord) {
  QF_REQUIRE_DOCUMENT(doc, "note.doc");
  scan_run h({"ole"});
  type_spec& ole = h.entry(0);
  // A stream whose name starts with "@".
  bytes at_sign = doc;
  at_sign[utf16_name_at(at_sign, "1Table")] = '@';
  EXPECT_GT(test::run(h, ole, placed(at_sign, 0, doc.size() + 4096), 0), 0);
  // A name length above 64 bytes.
  bytes long_name = doc;
  test::put_le16(long_name, utf16_name_at(long_name, "1Table") + 64, 70);
  EXPECT_GT(test::run(h, ole, placed(long_name, 0, doc.size() + 4096), 0), 0);
  // A negative directory start.
  bytes no_directory = doc;
  test::put_le32(no_directory, 48, 0xFFFFFFF0u);
  EXPECT_EQ(test::run(h, ole, placed(no_directory, 0, doc.size() + 4096), 0), 4);
  EXPECT_TRUE(found_in(ole).empty());
}

}  // namespace
}  // namespace qf
