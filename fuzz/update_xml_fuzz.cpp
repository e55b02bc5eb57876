// The manual update check's document comes from the network: any bytes, cut
// into blocks anywhere. The first input byte chooses the block size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/version.h"
#include "ui/update_version.h"
#include "ui/update_xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::size_t block = 1 + data[0] % 64;
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  qf::ui::UpdateXmlReader reader(QF_PRODUCT_NAME);
  for (std::size_t at = 0; at < text.size(); at += block)
    if (!reader.feed(text.substr(at, block))) break;
  reader.finish();
  if (reader.version()) {
    if (reader.version()->size() > text.size()) __builtin_trap();
    qf::ui::is_newer_version(*reader.version(), QF_VERSION_TEXT);
  }
  return 0;
}
