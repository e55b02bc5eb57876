#pragma once
// DIR/run.json of a carve run: what was carved, by which version, when, with
// which settings, and how it ended. Written when the run starts (ended
// empty, outcome "running", so a killed run is recognisable) and again at
// its end.
#include <cstdint>
#include <string>

namespace qf::cli {

struct carve_run_info {
  std::string image;        // the path as given
  std::uint64_t image_size = 0;
  std::string image_sha256;  // empty unless --hash-image
  std::string types;         // the --types list as given, empty for the default
  bool thorough = false;     // every byte offset searched, not only block starts
  std::string started;
  std::string ended;
  std::string outcome = "running";  // "done", "stopped", "write failed"
  std::uint64_t files_written = 0;
  // Bytes of found files read from the input a second time (those no scan
  // chunk held), and the times the scan waited for the writer to catch up.
  std::uint64_t bytes_read_again = 0;
  std::uint64_t scan_waits_for_writer = 0;
};

std::string carve_run_json(const carve_run_info& run);

// Writes run.json into `out_dir` whole; false when it could not be written.
bool write_carve_run_info(const std::string& out_dir, const carve_run_info& run);

}  // namespace qf::cli
