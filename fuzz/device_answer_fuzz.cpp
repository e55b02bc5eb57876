// The ADB client's answers are untrusted text: the device list and an
// `ls -l` line, read by the device check and the pull.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/device_result.h"
#include "device/pull_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qf::device::DeviceAnswer answer = qf::device::read_device_list(text);
  if (answer.line.size() > size) __builtin_trap();
  qf::device::lacks_permissions(answer);
  if (auto mode = qf::device::mode_from_listing(text)) {
    if (mode->size() < 3 || mode->size() > 4) __builtin_trap();
  }
  return 0;
}
