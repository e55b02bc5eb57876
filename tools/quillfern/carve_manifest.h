#pragma once
// DIR/manifest.csv of a carve run, written as the run goes: a line is added
// (and flushed to the disk) only after its file was written whole, so the
// manifest of a run that was stopped, killed or ran out of space still lists
// exactly the files that are complete.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qf::cli {

struct manifest_row {
  std::string name;  // relative to DIR, "jpg/2048.jpg"
  std::string type;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::string sha256;
  bool end_validated = false;  // "yes": the type's rules found the end; "no": cut at a limit
};

class carve_manifest {
 public:
  carve_manifest() = default;
  carve_manifest(const carve_manifest&) = delete;
  carve_manifest& operator=(const carve_manifest&) = delete;
  ~carve_manifest();

  // Creates the file with its header line; false when that fails.
  bool open(const std::string& out_dir);
  // Appends and flushes one line; false when it did not reach the file.
  bool add(const manifest_row& row);
  bool close();
  const std::vector<manifest_row>& rows() const { return rows_; }

 private:
  bool write_line(const std::vector<std::string>& fields);
  std::FILE* file_ = nullptr;
  std::vector<manifest_row> rows_;
};

}  // namespace qf::cli
