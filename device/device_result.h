#pragma once
// The device state read from the ADB client's device list.
#include <string>
#include <string_view>

#include "device/adb_runner.h"

namespace qf::device {

// Posted as WM_PULL_DONE's wParam; the numbers are fixed.
enum class DeviceResult : int {
  no_device = 0,  // no device line (nothing attached, client missing, no answer)
  ready = 1,      // the first device line says "device"
  unusable = 2,   // the first device line says offline, unauthorized or no permissions
};

struct DeviceAnswer {
  DeviceResult result = DeviceResult::no_device;
  std::string line;  // the line that decided it ("" when none did)
};

// Reads the client's answer to "devices" line by line (split at line feeds; a
// carriage return left at a line's end does not matter, only substrings are
// searched, case-sensitively), the first deciding line wins:
//   "List of devices attached"              header, result 0, go on
//   "no permissions"                        2 (adb on Linux without udev
//                                           access; the line holds a web
//                                           address with the word "device")
//   "offline" or "unauthorized"             2
//   "device"                                1
//   anything else (notices, recovery, sideload, empty) go on
DeviceAnswer read_device_list(std::string_view output);

// True when the deciding line is the "no permissions" one (udev rules).
bool lacks_permissions(const DeviceAnswer& answer);

// Runs "devices" and reads the answer.
DeviceAnswer query_device(const AdbClient& client);
DeviceResult check_device(const AdbClient& client);
DeviceResult check_device();

}  // namespace qf::device
