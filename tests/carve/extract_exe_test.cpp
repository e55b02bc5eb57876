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

constexpr std::uint64_t kAt = 4 * 512;

std::uint32_t pe_offset(const bytes& file) { return file[60] | file[61] << 8; }

TEST(ExtractExe, MingwProgramsAndLibrariesOfBothWidthsFoundWhole) {
  struct sample { const char* file; const char* suffix; };
  for (const sample& c : {sample{"hello64.exe", "exe"}, sample{"lib64.dll", "dll"}, sample{"hello32.exe", "exe"},
                          sample{"lib32.dll", "dll"}}) {
    QF_REQUIRE_DOCUMENT(file, c.file);
    scan_run h({"exe"});
    type_spec& exe = h.entry(0);
    const bytes image = placed(file, kAt, kAt + file.size() + 4096);
    EXPECT_EQ(test::run(h, exe, image, kAt, 1048576), static_cast<std::int64_t>(kAt + file.size())) << c.file;
    EXPECT_EQ(found_in(exe), (std::vector<found>{{"exe", "2052." + std::string(c.suffix), 1048576 + kAt, file.size()}}))
        << c.file;
    EXPECT_EQ(exe.suffix, "exe") << "a library's suffix holds for its own record only";
  }
}

TEST(ExtractExe, SectionTableFollowsTheStatedOptionalHeader) {
  QF_REQUIRE_DOCUMENT(file, "hello64.exe");
  const std::uint32_t pe = pe_offset(file);
  ASSERT_EQ(file[pe + 20] | file[pe + 21] << 8, 240);  // PE32+: the table is 16 bytes later than in PE32
  scan_run h({"exe"});
  type_spec& exe = h.entry(0);
  // Data that ends inside the section table: not enough to size the program.
  const std::uint64_t sections = file[pe + 6] | file[pe + 7] << 8;
  const bytes cut(file.begin(), file.begin() + pe + 24 + 240 + static_cast<std::ptrdiff_t>(sections * 40) - 1);
  EXPECT_EQ(test::run(h, exe, cut, 0), static_cast<std::int64_t>(pe));
  EXPECT_TRUE(found_in(exe).empty());
}

TEST(ExtractExe, ProgramCrossingTheEndOfTheDataIsLeftToTheReRead) {
  QF_REQUIRE_DOCUMENT(file, "hello64.exe");
  scan_run h({"exe"});
  type_spec& exe = h.entry(0);
  const bytes cut(file.begin(), file.begin() + 4096);
  EXPECT_EQ(test::run(h, exe, cut, 0), -1);
  EXPECT_TRUE(found_in(exe).empty());
}

TEST(ExtractExe, ImplausibleHeadersGoOn) {
  QF_REQUIRE_DOCUMENT(file, "lib64.dll");
  scan_run h({"exe"});
  type_spec& exe = h.entry(0);
  const std::uint32_t pe = pe_offset(file);
  bytes far_pe = placed(file, 0, file.size());
  test::put_le16(far_pe, 60, 1001);
  EXPECT_EQ(test::run(h, exe, far_pe, 0), 60);
  bytes not_pe = far_pe;
  test::put_le16(not_pe, 60, static_cast<std::uint16_t>(pe));
  not_pe[pe] = 'X';
  EXPECT_EQ(test::run(h, exe, not_pe, 0), static_cast<std::int64_t>(pe));
  bytes object_file = placed(file, 0, file.size());
  test::put_le16(object_file, pe + 22, 0);  // neither DLL nor executable
  EXPECT_EQ(test::run(h, exe, object_file, 0), static_cast<std::int64_t>(pe));
  EXPECT_EQ(test::run(h, exe, bytes(file.begin(), file.begin() + 99), 0), 2);
  EXPECT_TRUE(found_in(exe).empty());
}

}  // namespace
}  // namespace qf
