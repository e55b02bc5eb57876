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
      return "the live-record library could not read this file; live records of it are missing";
    case MORVATCH_ROWS_SKIPPED:
      return "damaged pages: the live records on them were skipped";
    default:
      return nullptr;
  }
}

}  // namespace

void AddLibraryWarning(LoadWarnings& warnings, const std::string& path, int status) {
  const char* problem = library_problem(status);
  if (problem == nullptr) return;
  warnings.push_back({path, status, path + ": " + problem});
}

}  // namespace qf
