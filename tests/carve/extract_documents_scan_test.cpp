// Documents, archives and programs laid into a device image and found by the
// scan loop with the "all" types (plus C source), as the session scans a card.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/carve/extract_test_support.h"

namespace qf {
namespace {

using test::bytes;
using test::found;
using test::scan_run;

constexpr std::uint64_t MiB = 1048576;

struct laid_file {
  std::string folder;
  std::string name;    // generated file
  std::string suffix;  // of its record
  std::uint64_t offset;
  bytes data;
};

std::string block_name(std::uint64_t offset, const std::string& suffix) {
  return std::to_string(offset / 512) + "." + suffix;
}

const found* record_at(const std::vector<found>& files, std::uint64_t offset, const std::string& folder) {
  for (const found& f : files) {
    if (f.offset == offset && f.folder == folder) return &f;
  }
  return nullptr;
}

TEST(DocumentScan, EveryFormatFoundAtItsOffsetWithItsLength) {
  std::vector<laid_file> laid = {
      {"htm", "mixed.html", "htm", 0, {}},        {"pdf", "plain.pdf", "pdf", 0, {}},
      {"pdf", "linear.pdf", "pdf", 0, {}},        {"ole", "note.doc", "doc", 0, {}},
      {"ole", "sheet.xls", "xls", 0, {}},         {"zip", "plain.zip", "zip", 0, {}},
      {"zip", "hello.jar", "jar", 0, {}},         {"zip", "office.sxw", "sxw", 0, {}},
      {"zip", "note.docx", "zip", 0, {}},         {"exe", "hello64.exe", "exe", 0, {}},
      {"exe", "lib64.dll", "dll", 0, {}},         {"exe", "hello32.exe", "exe", 0, {}},
      {"exe", "lib32.dll", "dll", 0, {}},         {"cpp", "hello.c", "cpp", 0, {}},
  };
  bytes image(4 * MiB, 0);
  std::uint64_t at = 64 * 512;
  for (laid_file& f : laid) {
    f.data = test::document(f.name);
    if (f.data.empty()) GTEST_SKIP() << f.name << " was not generated (its tool is missing)";
    if (f.folder == "cpp") {  // quick mode finds "#include" only at a sector start
      const std::string word = "#include";
      f.data.erase(f.data.begin(), std::search(f.data.begin(), f.data.end(), word.begin(), word.end()));
    }
    // The Word document straddles the first chunk end: its directory lies in
    // the next chunk, so only the re-read from the device can size it.
    if (f.name == "note.doc") at = MiB - 8 * 512;
    f.offset = at;
    std::copy(f.data.begin(), f.data.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
    at = (at + f.data.size() + 4096) / 512 * 512 + 3 * 512;
  }
  ASSERT_LT(at, image.size());

  scan_run run({"all", "cpp"});
  run.scan(image, 1);
  const std::vector<found> files = run.files();
  for (const laid_file& f : laid) {
    const found* r = record_at(files, f.offset, f.folder);
    ASSERT_NE(r, nullptr) << f.name << " not found at " << f.offset;
    EXPECT_EQ(r->name, block_name(f.offset, f.suffix)) << f.name;
    EXPECT_EQ(r->size, f.data.size()) << f.name;
  }
  EXPECT_EQ(files.size(), laid.size());
  for (const found& f : files) EXPECT_TRUE(std::any_of(laid.begin(), laid.end(), [&](const laid_file& l) {
    return l.offset == f.offset;
  })) << "unexpected " << f;
}

}  // namespace
}  // namespace qf
