// The live-record parser library on arbitrary database bytes: the input is
// written as a contacts and as a telephony database file and parsed both
// ways; every text in the lists must be readable up to its NUL.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "records/parser_library.h"

namespace {

std::string scratch_file() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("morvatch-fuzz-" + std::to_string(std::random_device()()) + ".db"))
          .string();
  return path;
}

std::size_t touch(const char* text) { return std::strlen(qf::lib_text(text)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = scratch_file();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  std::size_t total = 0;
  {
    qf::ParsedContacts contacts(path);
    for (const LibMimeTypeNode* m = contacts.mimetypes(); m; m = m->next) total += touch(m->text);
    for (const LibContactRowNode* r = contacts.rows(); r; r = r->next) total += touch(r->value);
  }
  {
    qf::ParsedMessages messages(path);
    for (const LibMessageNode* m = messages.messages(); m; m = m->next) {
      total += touch(m->address) + touch(m->date_text) + touch(m->body);
    }
  }
  std::remove(path.c_str());
  return total == static_cast<std::size_t>(-1);
}
