#include "records/parser_library.h"

namespace qf {

ParsedContacts::ParsedContacts(const std::string& utf8_path) {
  parse_contacts(utf8_path, &rows_, &mimetypes_);
  status_ = parser_library_last_status();
}

ParsedContacts::~ParsedContacts() { release_contacts(); }

ParsedMessages::ParsedMessages(const std::string& utf8_path)
    : messages_(parse_messages(utf8_path)), status_(parser_library_last_status()) {}

ParsedMessages::~ParsedMessages() { release_messages(); }

}  // namespace qf
