#pragma once
// The loader's door to the live-record parser library (morvatch). On Windows
// the library is morvatch.dll beside the executable, loaded once and bound by
// ordinal; natively it is linked and called directly. When the library cannot
// be loaded every parse yields empty lists, so the load goes on with the
// deleted-record scan alone.
//
// Use, on the loading thread only, one pass at a time:
//   ParsedContacts parsed(contacts_db_path);
//   for (const LibMimeTypeNode* m = parsed.mimetypes(); m; m = m->next) ...
//   for (const LibContactRowNode* r = parsed.rows(); r; r = r->next) ...
//   // leaving the scope releases the lists; no pointer into them survives it
// Texts may be null (the empty text): read them with lib_text().
#include <cstdint>
#include <string>
#include <string_view>

#include "records/morvatch/morvatch.h"

namespace qf {

// False when the library could not be loaded (Windows: morvatch.dll missing
// beside the executable or lacking an entry point).
bool parser_library_available();

// Not a MORVATCH_* value: the library itself could not be loaded.
constexpr int kParserLibraryMissing = -1;

// The MORVATCH_* status of the last parse (morvatch.h), or
// kParserLibraryMissing.
int parser_library_last_status();

// The library's entry points, for callers that want the raw sequence: every
// parse must be followed by its release on the same thread.
void parse_contacts(const std::string& utf8_path, LibContactRowNode** rows,
                    LibMimeTypeNode** mimetypes);
void release_contacts();
LibMessageNode* parse_messages(const std::string& utf8_path);
void release_messages();

// A null text pointer of the library stands for the empty text.
inline const char* lib_text(const char* text) { return text ? text : ""; }

// A text with its byte count, embedded NUL bytes included; a length of 0 or
// less falls back to the NUL-terminated text.
inline std::string_view lib_value(const char* text, std::int32_t length) {
  if (text == nullptr) return {};
  return length > 0 ? std::string_view(text, static_cast<std::size_t>(length)) : std::string_view(text);
}

// One contacts pass: parses in the constructor, releases in the destructor.
class ParsedContacts {
 public:
  explicit ParsedContacts(const std::string& utf8_path);
  ~ParsedContacts();
  ParsedContacts(const ParsedContacts&) = delete;
  ParsedContacts& operator=(const ParsedContacts&) = delete;

  const LibContactRowNode* rows() const { return rows_; }
  const LibMimeTypeNode* mimetypes() const { return mimetypes_; }
  int status() const { return status_; }

 private:
  int status_ = 0;
  LibContactRowNode* rows_ = nullptr;
  LibMimeTypeNode* mimetypes_ = nullptr;
};

// One messages pass: parses in the constructor, releases in the destructor.
class ParsedMessages {
 public:
  explicit ParsedMessages(const std::string& utf8_path);
  ~ParsedMessages();
  ParsedMessages(const ParsedMessages&) = delete;
  ParsedMessages& operator=(const ParsedMessages&) = delete;

  const LibMessageNode* messages() const { return messages_; }
  int status() const { return status_; }

 private:
  LibMessageNode* messages_ = nullptr;
  int status_ = 0;
};

}  // namespace qf
