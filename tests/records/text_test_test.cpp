#include "records/text_test.h"

#include <gtest/gtest.h>

#include <string>

namespace qf {
namespace {

bool clean(const std::string& s) {
  return passes_text_test(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

TEST(TextTest, PrintableAsciiAndTabLfCrPassOtherControlBytesFail) {
  EXPECT_TRUE(clean("Joe Bloggs <joe@example.org>"));
  EXPECT_TRUE(clean("line one\r\nline two\tend"));
  EXPECT_TRUE(clean(""));
  EXPECT_TRUE(clean(std::string(1, 0x7E)));
  for (int b : {0x00, 0x01, 0x08, 0x0B, 0x0C, 0x0E, 0x1F, 0x7F}) {
    EXPECT_FALSE(clean("ab" + std::string(1, static_cast<char>(b)) + "cd")) << b;
  }
}

TEST(TextTest, WellFormedUtf8OfEveryLengthPasses) {
  EXPECT_TRUE(clean("Zo\xC3\xAB"));                      // Zoë
  EXPECT_TRUE(clean("\xE5\xBC\xA0\xE4\xBC\x9F"));        // 张伟
  EXPECT_TRUE(clean("\xD9\x85\xD8\xAD\xD9\x85\xD8\xAF")); // محمد
  EXPECT_TRUE(clean("\xF0\x9F\x98\x80"));                // emoji
  EXPECT_TRUE(clean("\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF"));
  EXPECT_TRUE(clean("\xF0\x90\x80\x80\xF3\xBF\xBF\xBF\xF4\x8F\xBF\xBF"));
}

TEST(TextTest, MalformedSequencesFail) {
  EXPECT_FALSE(clean("\xC0\xAF"));          // overlong
  EXPECT_FALSE(clean("\xC1\xBF"));
  EXPECT_FALSE(clean("\xE0\x9F\xBF"));      // overlong three-byte
  EXPECT_FALSE(clean("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(clean("\xF0\x8F\xBF\xBF"));  // overlong four-byte
  EXPECT_FALSE(clean("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(clean("\xF5\x80\x80\x80"));
  EXPECT_FALSE(clean("\x80"));              // lone continuation
  EXPECT_FALSE(clean("\xC3\x28"));
  EXPECT_FALSE(clean("\xFF"));
}

TEST(TextTest, SequenceCutOffByTheEndOfTheValueFails) {
  EXPECT_FALSE(clean("abc\xC3"));
  EXPECT_FALSE(clean("abc\xE5\xBC"));
  EXPECT_FALSE(clean("abc\xF0\x9F\x98"));
  // The length given, not a terminator, bounds the value.
  const std::string emoji = "\xF0\x9F\x98\x80";
  EXPECT_FALSE(passes_text_test(reinterpret_cast<const std::uint8_t*>(emoji.data()), 3));
}

}  // namespace
}  // namespace qf
