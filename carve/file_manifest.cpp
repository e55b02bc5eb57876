#include "carve/file_manifest.h"

#include <filesystem>
#include <fstream>

#include "carve/sha256.h"
#include "platform/paths.h"

namespace qf {

manifest_row manifest_row_for(const std::string& path, const std::string& name, const std::string& type,
                              std::uint64_t offset) {
  std::error_code error;
  const std::uint64_t size = std::filesystem::file_size(std::filesystem::u8path(path), error);
  return {name, type, offset, error ? 0 : size, sha256_of_file(path)};
}

bool write_manifest(const std::string& dir, const std::vector<manifest_row>& rows) {
  std::ofstream out(std::filesystem::u8path(join_path(dir, "manifest.csv")), std::ios::binary | std::ios::trunc);
  out << "name,type,offset,size,sha256\n";
  for (const auto& r : rows) out << r.name << ',' << r.type << ',' << r.offset << ',' << r.size << ',' << r.sha256 << '\n';
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace qf
