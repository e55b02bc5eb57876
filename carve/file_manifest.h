#pragma once
// manifest.csv: one line per recovered file (name relative to the folder that
// holds the manifest, type folder, device offset, size written, SHA-256), so
// a user can check every file against its source afterwards.
#include <cstdint>
#include <string>
#include <vector>

namespace qf {

struct manifest_row {
  std::string name;  // relative to the manifest's folder, "/" separated
  std::string type;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::string sha256;
};

// A row for the file just written at `path` (its size and hash read back
// from disk, so the manifest describes what is really there).
manifest_row manifest_row_for(const std::string& path, const std::string& name, const std::string& type,
                              std::uint64_t offset);

// Writes <dir>/manifest.csv with a header line. False when it could not be
// written completely.
bool write_manifest(const std::string& dir, const std::vector<manifest_row>& rows);

}  // namespace qf
