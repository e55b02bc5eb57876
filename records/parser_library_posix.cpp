// Natively the parser library is linked: the entry points are called directly.
#include "records/parser_library.h"

namespace qf {

bool parser_library_available() { return true; }

void parse_contacts(const std::string& utf8_path, LibContactRowNode** rows,
                    LibMimeTypeNode** mimetypes) {
  void* reserved1 = nullptr;
  void* reserved2 = nullptr;
  *rows = nullptr;
  *mimetypes = nullptr;
  morvatch_parse_contacts(utf8_path.c_str(), &reserved1, &reserved2, rows, mimetypes);
}

void release_contacts() { morvatch_release_contacts(); }

LibMessageNode* parse_messages(const std::string& utf8_path) {
  void* reserved1 = nullptr;
  void* reserved3 = nullptr;
  LibMessageNode* messages = nullptr;
  morvatch_parse_messages(utf8_path.c_str(), &reserved1, &messages, &reserved3);
  return messages;
}

void release_messages() { morvatch_release_messages(); }

int parser_library_last_status() { return morvatch_last_status(); }

}  // namespace qf
