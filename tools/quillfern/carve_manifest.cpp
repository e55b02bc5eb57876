#include "tools/quillfern/carve_manifest.h"

#include <filesystem>

#include "platform/paths.h"
#include "records/csv_row.h"

namespace qf::cli {

carve_manifest::~carve_manifest() { close(); }

bool carve_manifest::open(const std::string& out_dir) {
  const std::filesystem::path path = std::filesystem::u8path(join_path(out_dir, "manifest.csv"));
#ifdef _WIN32
  file_ = _wfopen(path.c_str(), L"wb");
#else
  file_ = std::fopen(path.c_str(), "wb");
#endif
  return file_ && write_line({"name", "type", "offset", "size", "sha256", "validated"});
}

bool carve_manifest::add(const manifest_row& row) {
  if (!write_line({row.name, row.type, std::to_string(row.offset), std::to_string(row.size), row.sha256,
                   row.end_validated ? "yes" : "no"})) {
    return false;
  }
  rows_.push_back(row);
  return true;
}

bool carve_manifest::write_line(const std::vector<std::string>& fields) {
  if (!file_) return false;
  std::string line;
  // LF line ends, as shell scripts that read the manifest expect.
  AppendCsvRow(line, fields, "\n");
  return std::fwrite(line.data(), 1, line.size(), file_) == line.size() && std::fflush(file_) == 0;
}

bool carve_manifest::close() {
  if (!file_) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

}  // namespace qf::cli
