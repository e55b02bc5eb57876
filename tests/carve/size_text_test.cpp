#include <gtest/gtest.h>

#include "carve/cdr_info.h"

namespace qf {
namespace {

TEST(SizeText, StepsAtPowersOf1024) {
  EXPECT_EQ(size_text(0), "0.0 Byte");
  EXPECT_EQ(size_text(1023), "1023.0 Byte");
  EXPECT_EQ(size_text(1024), "1.0 KB");
  EXPECT_EQ(size_text(1536), "1.5 KB");
  EXPECT_EQ(size_text(1048576), "1.0 MB");
  EXPECT_EQ(size_text(1073741824ull), "1.0 GB");
  // A 2 GB card as the tree shows it.
  EXPECT_EQ(size_text(2040109465ull), "1.9 GB");
}

TEST(SizeText, NoStepAboveGigabytes) {
  EXPECT_EQ(size_text(1099511627776ull), "1024.0 GB");
  EXPECT_EQ(size_text(UINT64_MAX), "17179869184.0 GB");
}

TEST(SizeText, FileListVariantUsesB) {
  EXPECT_EQ(size_text_short(1023), "1023.0 B");
  EXPECT_EQ(size_text_short(1024), "1.0 KB");
  EXPECT_EQ(size_text_short(1048576), "1.0 MB");
}

}  // namespace
}  // namespace qf
