#include "records/load_warning.h"

#include "records/morvatch/morvatch.h"
#include "records/parser_library.h"

namespace qf {

namespace {

const char* library_problem(int status) {
  switch (status) {
    case kParserLibraryMissing:
      return "the live-record library morvatch could not be loaded; only deleted records were searched";
    case MORVATCH_NO_COPY:
      return "the live-record library could not make its private copy (is the temporary folder full?); "
             "live records of this file are missing";
    case MORVATCH_NOT_DATABASE:
      return "the live-record library could not read this file";
    case MORVATCH_ROWS_SKIPPED:
      return "damaged file: SQLite could not read some of its pages";
    default:
      return nullptr;
  }
}

// What became of the live records SQLite could not give.
std::string refused_rows_outcome(int status, int own_pages, int own_rows) {
  if (status != MORVATCH_NOT_DATABASE && status != MORVATCH_ROWS_SKIPPED) return {};
  if (own_pages == 0) return "; the live records SQLite could not read are missing";
  return "; our own page reader read " + std::to_string(own_pages) + (own_pages == 1 ? " page" : " pages") +
         " and recovered " + std::to_string(own_rows) + " live records";
}

}  // namespace

void AddLibraryWarning(LoadWarnings& warnings, const std::string& path, int status, int own_pages,
                       int own_rows) {
  const char* problem = library_problem(status);
  if (problem == nullptr) return;
  warnings.push_back({path, status, path + ": " + problem + refused_rows_outcome(status, own_pages, own_rows)});
}

}  // namespace qf
