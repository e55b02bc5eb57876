#pragma once
// Binding morvatch.dll by ordinal. The loader uses the copy beside the
// executable; tests bind other paths to check the missing-library case.
#include <string>

#include "records/morvatch/morvatch.h"

namespace qf {

// The four entry points; all null when the DLL or one ordinal is missing.
struct ParserLibraryEntries {
  morvatch_parse_contacts_fn parse_contacts = nullptr;    // ordinal 1
  morvatch_release_contacts_fn release_contacts = nullptr;  // ordinal 2
  morvatch_parse_messages_fn parse_messages = nullptr;    // ordinal 3
  morvatch_release_messages_fn release_messages = nullptr;  // ordinal 4
  morvatch_last_status_fn last_status = nullptr;            // ordinal 5, optional

  bool complete() const {
    return parse_contacts && release_contacts && parse_messages && release_messages;
  }
};

// Loads the DLL at `dll_path` (UTF-8) and binds ordinals 1 to 4. The DLL stays
// loaded for the rest of the process: library lists may still be in use.
ParserLibraryEntries bind_parser_library(const std::string& dll_path);

// "morvatch.dll" in the folder of the running executable.
std::string parser_library_path();

}  // namespace qf
