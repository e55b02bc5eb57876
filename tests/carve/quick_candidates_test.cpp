#include "carve/quick_candidates.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "carve/scan_loop_search.h"
#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

// The block starts of `data` where entry `index`'s whole header matches, as
// the block-by-block test finds them: `lead` bytes into the block (4 for
// QuickTime, whose header is the atom type behind the atom size).
std::set<std::uint64_t> matching_block_starts(const type_spec& entry, const bytes& data, std::uint64_t block,
                                              std::uint64_t lead) {
  std::set<std::uint64_t> out;
  for (std::uint64_t p = 0; p + lead < data.size(); p += block) {
    if (entry.header_len <= data.size() - p - lead &&
        search_string_matches(data.data() + p + lead, entry.header.data(), entry.header_len,
                              entry.case_sensitive)) {
      out.insert(p);
    }
  }
  return out;
}

std::set<std::uint64_t> marked(const quick_candidates& c, int index, std::uint64_t block) {
  std::set<std::uint64_t> out;
  for (std::uint64_t p = 0; c.next(index, p); p += block) out.insert(p);
  return out;
}

TEST(QuickCandidates, EveryBlockStartHoldingAHeaderIsMarkedForEveryAllType) {
  for (std::uint64_t block : {512ull, 1000ull, 4096ull}) {
    scan_run run({"all"});
    disk_image image(64 * 1024 + 300, 5);
    // Each type's header at a few block starts, cut after two bytes at others,
    // and the html header in capitals; one header 100 bytes into a block.
    std::uint64_t at = 0;
    for (int i = 0; i < run.state.type_count; ++i) {
      type_spec& e = run.entry(i);
      const std::uint64_t lead = reread_lead(e.type_code);
      bytes header(e.header.begin(), e.header.begin() + e.header_len);
      image.place(header, at + lead);
      if (!e.case_sensitive) {
        for (auto& b : header) b = static_cast<unsigned char>(std::toupper(b));
      }
      image.place(header, at + 2 * block + lead);
      bytes cut(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(2, header.size())));
      cut.push_back(static_cast<unsigned char>(header.size() > 2 ? header[2] ^ 0x55 : 0));
      image.place(cut, at + 3 * block + lead);
      image.place(header, at + block + 100);
      at += 4 * block;
      if (at + 4 * block > image.data.size()) at = 0;  // later headers overwrite earlier ones
    }
    quick_candidates c;
    c.prepare(type_spec_table.data(), run.state.type_count, block);
    c.mark(image.data.data(), image.data.size());
    for (int i = 0; i < run.state.type_count; ++i) {
      const std::uint64_t lead = c.lead(i);
      EXPECT_EQ(lead, reread_lead(run.entry(i).type_code)) << run.entry(i).suffix;
      const std::set<std::uint64_t> want = matching_block_starts(run.entry(i), image.data, block, lead);
      const std::set<std::uint64_t> got = marked(c, i, block);
      for (std::uint64_t p : want) EXPECT_TRUE(got.count(p)) << run.entry(i).suffix << " at " << p << " block " << block;
      // Marks are few: only block starts whose first two bytes fit.
      for (std::uint64_t p : got) {
        EXPECT_EQ(p % block, 0u);
        EXPECT_TRUE(search_string_matches(image.data.data() + p + lead, run.entry(i).header.data(), 1,
                                          run.entry(i).case_sensitive))
            << run.entry(i).suffix << " at " << p;
      }
    }
  }
}

TEST(QuickCandidates, LastBlockStartWithOneByteLeftIsTestedWithoutReadingPastTheData) {
  scan_run run({"jpg", "bmp"});
  bytes data(1025, 0x11);
  data[1024] = 0xFF;  // could begin a JPEG header, which does not fit
  quick_candidates c;
  c.prepare(type_spec_table.data(), run.state.type_count, 512);
  c.mark(data.data(), data.size());
  std::uint64_t p = 0;
  ASSERT_TRUE(c.next(0, p));
  EXPECT_EQ(p, 1024u);
  p = 0;
  EXPECT_FALSE(c.next(1, p));
}

TEST(QuickCandidates, ScanWithBlockSize1000FindsHeadersAtMultiplesOf1000Only) {
  const bytes jpeg = media("photo_jfif.jpg");
  disk_image image(1048576);
  image.place(jpeg, 64000);
  image.place(jpeg, 64 * 1024);  // a sector start, but not a multiple of 1000
  scan_run run({"jpg"});
  run.state.block_size = 1000;
  run.scan(image.data, 1);
  const std::vector<found> files = run.files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].offset, 64000u);
  EXPECT_EQ(files[0].size, jpeg.size());
}

}  // namespace
}  // namespace qf::test
