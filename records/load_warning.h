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
void AddLibraryWarning(LoadWarnings& warnings, const std::string& path, int status);

}  // namespace qf
