#include "platform/paths.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

TEST(JoinPath, AddsOneSeparator) {
  std::string sep(1, kPathSeparator);
  EXPECT_EQ(join_path("a", "b"), "a" + sep + "b");
  EXPECT_EQ(join_path("a/", "b"), "a/b");
  EXPECT_EQ(join_path("a\\", "b"), "a\\b");
  EXPECT_EQ(join_path("", "b"), "b");
}

TEST(JoinPath, KeepsUtf8BytesAndSpaces) {
  std::string dir = "C\xC3\xA9 dir";
  std::string joined = join_path(dir, "contacts2.db");
  EXPECT_EQ(joined.substr(0, dir.size()), dir);
  EXPECT_EQ(joined.substr(dir.size() + 1), "contacts2.db");
}

}  // namespace
}  // namespace qf
