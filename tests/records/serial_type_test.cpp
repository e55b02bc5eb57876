#include "records/serial_type.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qf {
namespace {

SerialType read(const std::vector<std::uint8_t>& bytes, bool* ok = nullptr) {
  SerialType t;
  const bool read_ok = read_serial_type(bytes.data(), bytes.size(), t);
  if (ok) *ok = read_ok;
  return t;
}

TEST(SerialType, VarintsOfOneToThreeBytesUseTheSevenBitGroups) {
  EXPECT_EQ(read({0x13}).type, 19u);
  EXPECT_EQ(read({0x13}).bytes_used, 1);
  EXPECT_EQ(read({0x81, 0x00}).type, 128u);
  EXPECT_EQ(read({0x81, 0x00}).bytes_used, 2);
  EXPECT_EQ(read({0x81, 0x80, 0x05}).type, 16384u + 5u);
  EXPECT_EQ(read({0x81, 0x80, 0x05}).bytes_used, 3);
}

TEST(SerialType, NineByteVarintTakesAllBitsOfTheLastByteAndClampsTo32Bits) {
  bool ok = false;
  const SerialType huge = read({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(huge.bytes_used, 9);
  EXPECT_EQ(huge.type, 0xFFFFFFFFu);
  // 0x80 x8 then 0x7F: the ninth byte contributes 8 bits, the value is 0x7F.
  const SerialType small = read({0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x7F}, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(small.type, 0x7Fu);
  // Exactly 32 bits survive unclamped.
  EXPECT_EQ(read({0x8F, 0xFF, 0xFF, 0xFF, 0x7F}).type, 0xFFFFFFFFu);
  EXPECT_EQ(read({0x8F, 0xFF, 0xFF, 0xFF, 0x7E}).type, 0xFFFFFFFEu);
}

TEST(SerialType, VarintCutOffByTheEndOfTheBytesIsNotRead) {
  bool ok = true;
  read({0x81}, &ok);
  EXPECT_FALSE(ok);
  read({}, &ok);
  EXPECT_FALSE(ok);
  read({0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, &ok);
  EXPECT_FALSE(ok);
}

TEST(SerialType, ContentLengthsFollowTheRecordFormat) {
  const std::uint64_t expected[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0, 0, 0, 1, 1};
  for (std::uint32_t t = 0; t < 16; ++t) EXPECT_EQ(serial_content_length(t), expected[t]) << t;
  EXPECT_EQ(serial_content_length(19), 3u);
  EXPECT_EQ(serial_content_length(20), 4u);
  // No wrap-around: the largest type gives a length near 2^31.
  EXPECT_EQ(serial_content_length(0xFFFFFFFFu), (0xFFFFFFFFull - 13) / 2);
}

TEST(SerialType, IntegersAreBigEndianTwosComplementAndConstantsHaveNoContent) {
  std::int64_t v = -1;
  const std::uint8_t minus_two[] = {0xFF, 0xFE};
  ASSERT_TRUE(read_serial_integer(2, minus_two, v));
  EXPECT_EQ(v, -2);
  const std::uint8_t forty_two[] = {0x2A};
  ASSERT_TRUE(read_serial_integer(1, forty_two, v));
  EXPECT_EQ(v, 42);
  const std::uint8_t six[] = {0x01, 0x8A, 0x4C, 0x2E, 0x5B, 0x00};  // a date in ms
  ASSERT_TRUE(read_serial_integer(5, six, v));
  EXPECT_EQ(v, 0x018A4C2E5B00);
  const std::uint8_t eight[] = {0x80, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(read_serial_integer(6, eight, v));
  EXPECT_EQ(v, INT64_MIN);
  ASSERT_TRUE(read_serial_integer(9, nullptr, v));
  EXPECT_EQ(v, 1);
  ASSERT_TRUE(read_serial_integer(8, nullptr, v));
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(read_serial_integer(0, nullptr, v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(read_serial_integer(12, nullptr, v));
  EXPECT_FALSE(read_serial_integer(19, forty_two, v));
}

}  // namespace
}  // namespace qf
