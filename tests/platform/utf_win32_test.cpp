#include "platform/utf_win32.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(Utf, RoundTripsNonAsciiText) {
  const std::string text = "Jos\xC3\xA9 \xE6\x9D\x8E \xF0\x9F\x98\x80 \xD9\x85";
  std::wstring wide = widen(text);
  EXPECT_EQ(wide[3], L'\u00E9');
  EXPECT_EQ(narrow(wide), text);
  EXPECT_TRUE(widen("").empty());
}

}  // namespace
}  // namespace qf
