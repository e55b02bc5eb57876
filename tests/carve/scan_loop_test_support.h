#pragma once
// Helpers for the scan-loop and extractor tests: the media files made by
// tests/carve/data/make_media.sh, disk images assembled in memory with filler
// between files, and a scan or extractor call over such bytes.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "carve/carve_state.h"
#include "carve/cdr_info.h"
#include "carve/cdr_node.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/scan_loop.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/test_paths.h"

namespace qf::test {

using bytes = std::vector<unsigned char>;

inline bytes media(const std::string& name) {
  bytes data = read_file(source_dir() + "/tests/carve/data/" + name);
  if (data.empty()) ADD_FAILURE() << "missing test media " << name;
  return data;
}

inline bytes ascii(const std::string& text) { return {text.begin(), text.end()}; }

// A disk image: filler bytes, with files laid over them at chosen offsets.
struct disk_image {
  explicit disk_image(std::uint64_t size, unsigned seed = 11) : data(patterned_bytes(size, seed)) {}
  std::uint64_t place(const bytes& file, std::uint64_t offset) {
    if (offset + file.size() > data.size()) ADD_FAILURE() << "file placed past the image end";
    std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(file.size(), data.size() - offset)),
              data.begin() + static_cast<std::ptrdiff_t>(offset));
    return offset;
  }
  bytes data;
};

struct found {
  std::string folder;
  std::string name;
  std::uint64_t offset;
  std::uint64_t size;
  bool operator==(const found& o) const {
    return folder == o.folder && name == o.name && offset == o.offset && size == o.size;
  }
};

inline std::ostream& operator<<(std::ostream& out, const found& f) {
  return out << f.folder << "/" << f.name << " @" << f.offset << " +" << f.size;
}

// A scan of one node over in-memory device bytes: the node owns the type
// folders the selection makes and frees them at the end.
class scan_run {
 public:
  explicit scan_run(const std::vector<std::string>& type_names, std::uint32_t mode = kModeQuick) {
    init_carve_state(state);
    state.mode = mode;
    state.partition = &node;
    for (const auto& name : type_names) select_type_name(state, name);
  }
  ~scan_run() { cdr_clear_children(nullptr, &node); }
  scan_run(const scan_run&) = delete;
  scan_run& operator=(const scan_run&) = delete;

  // Scans `length` bytes of `device` from `start` in chunks of `chunk_mib`.
  int scan(const bytes& device, int chunk_mib, std::uint64_t start = 0, std::uint64_t length = ~0ull) {
    state.chunk_mib = chunk_mib;
    use_device(device, start, length);
    return scan_input_range(state, input);
  }

  // The whole device in chunks of `chunk_size` bytes.
  int scan_chunks(const bytes& device, std::uint64_t chunk_size) {
    use_device(device, 0, ~0ull);
    return scan_input_chunks(state, input, chunk_size);
  }

  void use_device(const bytes& device, std::uint64_t start, std::uint64_t length) {
    state.input_start = start;
    state.input_length = length == ~0ull ? device.size() - start : length;
    input.path = "memory";
    input.input_start = state.input_start;
    input.input_length = state.input_length;
    input.read = [this, &device](std::uint64_t offset, void* buffer, std::size_t size) -> std::int64_t {
      reads.push_back(offset);
      read_sizes.push_back(size);
      if (offset >= device.size()) return 0;
      const std::uint64_t n = std::min<std::uint64_t>(size, device.size() - offset);
      std::copy(device.begin() + static_cast<std::ptrdiff_t>(offset),
                device.begin() + static_cast<std::ptrdiff_t>(offset + n), static_cast<unsigned char*>(buffer));
      return static_cast<std::int64_t>(n);
    };
  }

  std::vector<found> files() const {
    std::vector<found> out;
    for (const cdr_node* folder = node.first_child; folder; folder = folder->next) {
      for (const cdr_found_file* f = folder->first_file; f; f = f->next) {
        out.push_back({folder->name, f->name, f->offset, f->size});
      }
    }
    return out;
  }

  type_spec& entry(int index) { return type_spec_table[static_cast<std::size_t>(index)]; }

  // Runs entry 0's extractor (through the dispatch) with m bytes before s.
  const unsigned char* extract(const bytes& data, std::uint64_t m = 0, std::uint64_t base = 0) {
    return dispatch_extractor({state, entry(0), data.data() + m, m, data.size() - m, base});
  }

  carve_state state;
  cdr_node node;
  input_range input;
  std::vector<std::uint64_t> reads;  // offsets the scan read at
  std::vector<std::uint64_t> read_sizes;  // bytes asked for at each of them

  // The largest read not at one of the chunk starts `chunk` apart.
  std::uint64_t largest_extra_read(std::uint64_t chunk) const {
    std::uint64_t largest = 0;
    for (std::size_t i = 0; i < reads.size(); ++i) {
      if (reads[i] % chunk != 0) largest = std::max<std::uint64_t>(largest, read_sizes[i]);
    }
    return largest;
  }
};

// A copy of the first `length` bytes in a buffer of exactly that size, so the
// address sanitizer sees any read past it.
inline bytes truncated(const bytes& data, std::size_t length) {
  return bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min(length, data.size())));
}

}  // namespace qf::test
