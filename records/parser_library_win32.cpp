// On Windows the parser library is morvatch.dll beside the executable. It is
// imported by ordinal, as its maker publishes it: 1 parse contacts, 2 release
// contacts, 3 parse messages, 4 release messages, all with the C convention.
#include "records/parser_library_win32.h"

#include <windows.h>

#include "platform/paths.h"
#include "platform/utf_win32.h"
#include "records/parser_library.h"
#include "records/program_folder.h"

namespace qf {

namespace {

template <typename Fn>
Fn bind_ordinal(HMODULE module, WORD ordinal) {
  // MAKEINTRESOURCEA turns the ordinal into the "name" GetProcAddress expects
  // for an import by ordinal.
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

const ParserLibraryEntries& entries() {
  // Bound once, on first use; the loader is the only caller.
  static const ParserLibraryEntries bound = bind_parser_library(parser_library_path());
  return bound;
}

}  // namespace

ParserLibraryEntries bind_parser_library(const std::string& dll_path) {
  // The full path keeps the search order from picking up another morvatch.dll.
  HMODULE module = LoadLibraryExW(widen(dll_path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) return {};
  ParserLibraryEntries e;
  e.parse_contacts = bind_ordinal<morvatch_parse_contacts_fn>(module, 1);
  e.release_contacts = bind_ordinal<morvatch_release_contacts_fn>(module, 2);
  e.parse_messages = bind_ordinal<morvatch_parse_messages_fn>(module, 3);
  e.release_messages = bind_ordinal<morvatch_release_messages_fn>(module, 4);
  // Optional: a library without it reports nothing beyond its lists.
  e.last_status = bind_ordinal<morvatch_last_status_fn>(module, 5);
  if (!e.complete()) {
    FreeLibrary(module);
    return {};
  }
  return e;
}

std::string parser_library_path() { return join_path(program_folder(), "morvatch.dll"); }

bool parser_library_available() { return entries().complete(); }

void parse_contacts(const std::string& utf8_path, LibContactRowNode** rows,
                    LibMimeTypeNode** mimetypes) {
  *rows = nullptr;
  *mimetypes = nullptr;
  if (!entries().complete()) return;
  void* reserved1 = nullptr;
  void* reserved2 = nullptr;
  entries().parse_contacts(utf8_path.c_str(), &reserved1, &reserved2, rows, mimetypes);
}

void release_contacts() {
  if (entries().complete()) entries().release_contacts();
}

LibMessageNode* parse_messages(const std::string& utf8_path) {
  if (!entries().complete()) return nullptr;
  void* reserved1 = nullptr;
  void* reserved3 = nullptr;
  LibMessageNode* messages = nullptr;
  entries().parse_messages(utf8_path.c_str(), &reserved1, &messages, &reserved3);
  return messages;
}

void release_messages() {
  if (entries().complete()) entries().release_messages();
}

int parser_library_last_status() {
  if (!entries().complete()) return kParserLibraryMissing;
  return entries().last_status != nullptr ? entries().last_status() : MORVATCH_OK;
}

}  // namespace qf
