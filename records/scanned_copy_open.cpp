#include "records/scanned_copy_open.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qf {

std::string immutable_uri(const std::string& utf8_path) {
  std::string uri = "file:";
  for (char c : utf8_path) {
    if (c == '%' || c == '?' || c == '#') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      uri += escaped;
    } else {
      uri += c;
    }
  }
  return uri + "?immutable=1";
}

bool open_scanned_copy(UntrustedDb& db, const std::string& utf8_path, int open_flags) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::u8path(utf8_path + "-journal"), ec)) {
    return db.open(utf8_path, open_flags);
  }
  return db.open(immutable_uri(utf8_path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
}

}  // namespace qf
