// The device list rules on every answer a client gives.
#include "device/device_result.h"

#include <gtest/gtest.h>

#include "tests/device/sim_phone.h"

namespace qf::device {
namespace {

using R = DeviceResult;

const std::string kHeader = "List of devices attached\n";
const std::string kNoPermissions =
    "0123456789ABCDEF\tno permissions (user in plugdev group; are your udev rules wrong?); "
    "see [http://developer.android.com/tools/device.html]\n";

TEST(ReadDeviceList, EveryAnswerOfTheClient) {
  struct Case {
    const char* what;
    std::string output;
    R expected;
  } cases[] = {
      {"empty output", "", R::no_device},
      {"header only", kHeader, R::no_device},
      {"header and empty line", kHeader + "\n", R::no_device},
      {"one ready phone", kHeader + "0123456789ABCDEF\tdevice\n\n", R::ready},
      {"unauthorized", kHeader + "0123456789ABCDEF\tunauthorized\n\n", R::unusable},
      {"offline", kHeader + "0123456789ABCDEF\toffline\n\n", R::unusable},
      {"two phones, first offline", kHeader + "A1\toffline\nB2\tdevice\n\n", R::unusable},
      {"two phones, first ready", kHeader + "A1\tdevice\nB2\tunauthorized\n\n", R::ready},
      {"daemon notice first",
       "* daemon not running; starting now at tcp:5037\n* daemon started successfully\n" + kHeader +
           "0123456789ABCDEF\tdevice\n\n",
       R::ready},
      {"carriage returns", "List of devices attached\r\nA1\tdevice\r\n\r\n", R::ready},
      {"no permissions (its web address holds \"device\")", kHeader + kNoPermissions, R::unusable},
      {"recovery", kHeader + "A1\trecovery\n\n", R::no_device},
      {"sideload", kHeader + "A1\tsideload\n\n", R::no_device},
      {"recovery, then a ready phone", kHeader + "A1\trecovery\nB2\tdevice\n", R::ready},
      {"no line feed at the end", kHeader + "A1\tdevice", R::ready},
      {"case matters", kHeader + "A1\tDEVICE\n", R::no_device},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read_device_list(c.output).result, c.expected) << c.what;
  }
}

TEST(ReadDeviceList, KeepsTheDecidingLineSoNoPermissionsCanBeExplained) {
  DeviceAnswer answer = read_device_list(kHeader + kNoPermissions);
  EXPECT_TRUE(lacks_permissions(answer));
  EXPECT_EQ(answer.line + "\n", kNoPermissions);
  answer = read_device_list(kHeader + "A1\tunauthorized\n");
  EXPECT_FALSE(lacks_permissions(answer));
  EXPECT_EQ(answer.line, "A1\tunauthorized");
  EXPECT_EQ(read_device_list(kHeader).line, "");
}

TEST(CheckDevice, AsksTheClientForItsDevices) {
  test::SimPhone phone;
  EXPECT_EQ(check_device(phone.client()), R::no_device);
  phone.set("devices", kNoPermissions);
  EXPECT_EQ(check_device(phone.client()), R::unusable);
  EXPECT_TRUE(lacks_permissions(query_device(phone.client())));
  phone.attach("device");
  EXPECT_EQ(check_device(phone.client()), R::ready);
  auto log = phone.commands();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), std::vector<std::string>{"devices"});
}

}  // namespace
}  // namespace qf::device
