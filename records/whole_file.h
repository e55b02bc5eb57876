#pragma once
// Writing an output file whole or not at all: a file cut short by a full
// disk would look complete to whoever opens it, so a failed write removes
// what it made.
#include <string>

namespace qf {

enum class WholeFileResult {
  written,
  not_created,  // the file could not be created: nothing was made
  not_written,  // writing or closing failed: the partial file was removed
};

// Writes `bytes` to the UTF-8 path in binary mode, replacing any file there.
WholeFileResult WriteWholeFile(const std::string& utf8_path, const std::string& bytes);

}  // namespace qf
