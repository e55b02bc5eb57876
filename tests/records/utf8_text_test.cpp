// Texts for CSV and JSON: valid UTF-8 passes unchanged, each invalid byte
// becomes U+FFFD, so a cut-off fragment never makes an invalid file.
#include "records/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qf {
namespace {

const std::string R = "\xEF\xBF\xBD";

TEST(ValidUtf8, InvalidBytesBecomeReplacementCharacters) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {std::string("nul\0inside", 10), std::string("nul\0inside", 10)},
      {"\xC3\xBC \xE6\x9D\x8E \xF0\x9F\x98\x80", "\xC3\xBC \xE6\x9D\x8E \xF0\x9F\x98\x80"},
      {"\xFF", R},
      {"a\x80z", "a" + R + "z"},             // a lone continuation byte
      {"\xE6\x9D", R + R},                   // cut off mid-character at the end
      {"\xC0\xAF", R + R},                   // overlong "/"
      {"\xED\xA0\x80", R + R + R},           // a surrogate
      {"\xF4\x90\x80\x80", R + R + R + R},   // above U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(ValidUtf8(c.in), c.out);
}

}  // namespace
}  // namespace qf
