// The overflow walker on chains a damaged or reused file can hold: each must
// end without reading outside the file or looping, and give either the whole
// payload or nothing.
#include "records/overflow_chain.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace qf {
namespace {

constexpr std::uint32_t kPage = 512;

struct ChainCase {
  const char* label;
  std::vector<std::uint32_t> next;  // next-page field of pages 1..n
  std::uint32_t first;
  std::uint64_t length;
  bool whole;
};

class OverflowChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(OverflowChainTest, GivesTheWholePayloadOrNothing) {
  const ChainCase& c = GetParam();
  test::TempDir dir{"qf-overflow"};
  std::string bytes(c.next.size() * kPage, '\0');
  for (std::size_t i = 0; i < c.next.size(); ++i) {
    for (int b = 0; b < 4; ++b) bytes[i * kPage + b] = static_cast<char>(c.next[i] >> (24 - 8 * b));
    for (std::size_t j = 4; j < kPage; ++j) bytes[i * kPage + j] = static_cast<char>('a' + i);
  }
  std::ofstream(dir.file("chain.db"), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  DbFile file;
  ASSERT_TRUE(file.open(dir.file("chain.db")));
  std::vector<std::uint8_t> out{'x'};
  const bool whole = read_overflow_chain({file, kPage, kPage, c.next.size(), {}}, c.first, c.length, out);
  EXPECT_EQ(whole, c.whole);
  ASSERT_EQ(out.size(), whole ? 1 + c.length : 1);
  // Each page gives its own bytes, in chain order.
  std::uint32_t page = c.first;
  for (std::size_t at = 1; at < out.size(); at += kPage - 4, page = c.next[page - 1]) {
    EXPECT_EQ(out[at], 'a' + page - 1) << at;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Chains, OverflowChainTest,
    ::testing::Values(ChainCase{"ThreePages", {0, 3, 4, 0}, 2, 3 * (kPage - 4), true},
                      ChainCase{"ChainLongerThanThePayload", {0, 3, 4, 0}, 2, kPage, true},
                      ChainCase{"EndsEarly", {0, 3, 0, 0}, 2, 3 * (kPage - 4), false},
                      ChainCase{"Cycle", {0, 3, 2, 0}, 2, 3 * (kPage - 4), false},
                      ChainCase{"PagePastTheEnd", {0, 9, 0, 0}, 2, 2 * (kPage - 4), false},
                      ChainCase{"PageOne", {0, 1, 0, 0}, 2, 2 * (kPage - 4), false}),
    [](const ::testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace qf
