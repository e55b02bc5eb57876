#pragma once
// The carve command's progress on standard error: share and bytes scanned,
// rate, elapsed time, time left and files found. On a terminal one line is
// redrawn in place; otherwise (a log, a pipe) a plain line is printed for
// every tenth of the device.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace qf::cli {

// "scanning:  42%  1.2 GB of 3.0 GB  35.0 MB/s  elapsed 0:00:35  left 0:00:48  found: 17".
// Rate and time left are left out until a first second has passed and some
// bytes are scanned, when they would only be noise.
std::string progress_text(int percent, std::uint64_t total_bytes, double elapsed_seconds,
                          std::uint64_t found);

// "1:02:03" (hours:minutes:seconds).
std::string duration_text(double seconds);

bool is_terminal(std::FILE* stream);

class progress_line {
 public:
  progress_line(std::FILE* stream, bool terminal, std::uint64_t total_bytes, bool quiet);
  void show(int percent, std::uint64_t found);
  void end();

 private:
  std::FILE* stream_;
  bool terminal_;
  bool quiet_;
  std::uint64_t total_;
  int last_ = -1;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace qf::cli
