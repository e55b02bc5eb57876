#include "tools/quillfern/run_inputs.h"

#include <ctime>
#include <filesystem>
#include <system_error>

#include "carve/sha256.h"
#include "records/utc_offset.h"

namespace qf::cli {

void add_database_inputs(std::vector<ReportInput>& inputs, const std::string& role,
                         const std::string& shown_path, const std::string& local_path) {
  for (const char* suffix : {"", "-wal", "-shm"}) {
    const std::string local = local_path + suffix;
    std::error_code ec;
    const auto size = std::filesystem::file_size(std::filesystem::u8path(local), ec);
    if (ec) continue;
    inputs.push_back({role + suffix, shown_path + suffix, size, sha256_of_file(local)});
  }
}

std::string now_text() { return IsoLocalTime(std::time(nullptr)); }

}  // namespace qf::cli
