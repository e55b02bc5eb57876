#include <gtest/gtest.h>

#include <algorithm>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

constexpr std::uint64_t MiB = 1048576;

// A device of `device` bytes whose reads are logged (offset, length asked).
struct logged_device {
  explicit logged_device(std::uint64_t size) : data(patterned_bytes(size, 3)) {
    input.read = [this](std::uint64_t offset, void* buffer, std::size_t length) -> std::int64_t {
      asked.push_back({offset, length});
      if (offset >= data.size()) return 0;
      const std::uint64_t n = std::min<std::uint64_t>(length, data.size() - offset);
      std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), n, static_cast<unsigned char*>(buffer));
      return static_cast<std::int64_t>(n);
    };
  }
  std::uint64_t furthest_asked() const {
    std::uint64_t end = 0;
    for (const auto& a : asked) end = std::max<std::uint64_t>(end, a.first + a.second);
    return end;
  }
  bytes data;
  input_range input;
  std::vector<std::pair<std::uint64_t, std::size_t>> asked;
};

TEST(ReadFromDisk, ReReadNearTheDeviceEndGivesTheBytesUpToTheEnd) {
  // Unknown and known device size: both deliver the bytes to the end; with
  // the size known nothing past the end is asked for.
  for (bool size_known : {false, true}) {
    logged_device device(3 * MiB + 1000);
    if (size_known) device.input.device_size = device.data.size();
    const std::uint64_t at = 3 * MiB - 700;  // not on a sector boundary
    const disk_bytes got = read_from_disk(device.input, at, 20 * MiB);
    ASSERT_NE(got.data, nullptr) << size_known;
    ASSERT_EQ(got.length, device.data.size() - at) << size_known;
    EXPECT_TRUE(std::equal(got.data, got.data + got.length, device.data.begin() + static_cast<std::ptrdiff_t>(at)));
    for (const auto& a : device.asked) {
      EXPECT_EQ(a.first % 512, 0u) << "reads start on sectors";
    }
    if (size_known) {
      EXPECT_LE(device.furthest_asked(), device.data.size() + 511);
    }
  }
}

TEST(ReadFromDisk, OffsetAtOrPastTheDeviceEndGivesNothing) {
  logged_device device(MiB);
  device.input.device_size = MiB;
  EXPECT_EQ(read_from_disk(device.input, MiB, 4096).data, nullptr);
  EXPECT_EQ(read_from_disk(device.input, 2 * MiB, 4096).data, nullptr);
  EXPECT_TRUE(device.asked.empty());
  device.input.device_size = 0;  // unknown: the device itself says there is nothing
  EXPECT_EQ(read_from_disk(device.input, MiB, 4096).data, nullptr);
}

}  // namespace
}  // namespace qf::test
