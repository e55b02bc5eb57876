#pragma once
// What a caller sees of a scan while it runs, on the scan thread: each file as
// it is recorded, and each chunk's bytes once they have been searched and are
// still in memory. A caller that copies found files out takes their bytes
// here, so the device is read once.
#include <cstdint>

namespace qf {

struct cdr_found_file;
struct input_range;

class scan_observer {
 public:
  virtual ~scan_observer() = default;
  // Called by the record step for every file recorded.
  virtual void file_recorded(const cdr_found_file& file) = 0;
  // The `n` bytes at device offset `base` have been searched; the bytes are
  // valid only during the call. Chunks come in device order without gaps.
  virtual void chunk_searched(const input_range& device, const unsigned char* data, std::uint64_t n,
                              std::uint64_t base) = 0;
  // The scan is over: `whole` when it reached the end of its range (not
  // stopped, no read error).
  virtual void scan_ended(const input_range& device, bool whole) = 0;
};

}  // namespace qf
