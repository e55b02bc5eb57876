// The automatic update check's document comes from the network: any bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/version.h"
#include "ui/update_json_reader.h"
#include "ui/update_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string version = qf::ui::read_newest_version_json(text);
  if (version.size() > size) __builtin_trap();
  if (qf::ui::is_newer_version(version, QF_VERSION_TEXT) && !qf::ui::is_plain_version(version)) __builtin_trap();
  return 0;
}
