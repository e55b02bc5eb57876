#include "device/device_result.h"

#include "device/answer_lines.h"

namespace qf::device {

namespace {

constexpr std::string_view kNoPermissions = "no permissions";

bool contains(std::string_view line, std::string_view word) {
  return line.find(word) != std::string_view::npos;
}

}  // namespace

DeviceAnswer read_device_list(std::string_view output) {
  while (!output.empty()) {
    std::string_view line = take_line(output);
    // The header itself holds the word "device", so it is tested first.
    if (contains(line, "List of devices attached")) continue;
    if (contains(line, kNoPermissions) || contains(line, "offline") ||
        contains(line, "unauthorized")) {
      return {DeviceResult::unusable, std::string(line)};
    }
    if (contains(line, "device")) return {DeviceResult::ready, std::string(line)};
  }
  return {};
}

bool lacks_permissions(const DeviceAnswer& answer) {
  return answer.result == DeviceResult::unusable && contains(answer.line, kNoPermissions);
}

DeviceAnswer query_device(const AdbClient& client) {
  return read_device_list(adb_command(client, {"devices"}));
}

DeviceResult check_device(const AdbClient& client) { return query_device(client).result; }

DeviceResult check_device() { return check_device(default_adb_client()); }

}  // namespace qf::device
