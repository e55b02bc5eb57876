#pragma once
// A problem the record load met and went on past: the user must hear of it,
// since the lists may be short (a copy the live-record library could not
// read, or rows it had to skip). The load itself never stops for one.
#include <string>
#include <vector>

namespace qf {

struct LoadWarning {
  std::string path;  // the database copy concerned (UTF-8)
  int status = 0;    // MORVATCH_* of the parser library, or kParserLibraryMissing
  std::string text;  // one line for the user, naming the path
};

using LoadWarnings = std::vector<LoadWarning>;

// Appends the warning that a library pass with `status` over `path` deserves;
// nothing for a clean pass or a missing file (a phone may lack a database).
// `own_pages` and `own_rows`: what our own page reader then read from the
// pages SQLite refused (the warning says so when it read any).
void AddLibraryWarning(LoadWarnings& warnings, const std::string& path, int status, int own_pages = 0,
                       int own_rows = 0);

}  // namespace qf
