#pragma once
// One harness for the extractor fuzz targets: the input's first byte chooses
// how many of the following bytes lie before the match (so backward reads are
// tried), whether the type's limit shrinks to the bytes held, and whether the
// extractor holds only the first half of the bytes in memory and reads the
// rest from a device (the path of a file that crosses a chunk end); the held
// bytes are copied into a buffer of exactly their size, so the address
// sanitizer reports any read outside it. The type's header is laid at the match, as the scan
// loop guarantees, and every entry the names select runs on the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "carve/carve_state.h"
#include "carve/cdr_info.h"
#include "carve/extractor.h"
#include "carve/scan_loop.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"

namespace qf::fuzz {

inline int run_extractors(const std::uint8_t* data, std::size_t size, std::initializer_list<const char*> names) {
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  const std::vector<unsigned char> device_bytes(data + 1, data + size);
  const std::uint64_t before = device_bytes.empty() ? 0 : (control & 0x3F) % (device_bytes.size() + 1);
  const bool from_device = (control & 0x40) != 0;
  const std::uint64_t held = from_device ? before + (device_bytes.size() - before) / 2 : device_bytes.size();
  std::vector<unsigned char> buffer(device_bytes.begin(), device_bytes.begin() + static_cast<std::ptrdiff_t>(held));

  carve_state state;
  init_carve_state(state);
  cdr_node disk;
  state.partition = &disk;
  input_range device;
  device.input_length = device.device_size = device_bytes.size();
  device.read = [&device_bytes](std::uint64_t offset, void* out, std::size_t length) -> std::int64_t {
    if (offset >= device_bytes.size()) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, device_bytes.size() - offset));
    std::copy_n(device_bytes.begin() + static_cast<std::ptrdiff_t>(offset), n, static_cast<unsigned char*>(out));
    return static_cast<std::int64_t>(n);
  };
  if (from_device) state.device = &device;
  for (const char* name : names) select_type_name(state, name);
  for (int i = 0; i < state.type_count; ++i) {
    type_spec& entry = type_spec_table[static_cast<std::size_t>(i)];
    const std::uint64_t R = buffer.size() - before;
    unsigned char* s = buffer.data() + before;
    std::copy_n(entry.header.begin(), std::min<std::uint64_t>(entry.header_len, R), s);
    if (control & 0x80) entry.max_len = R;
    // The device holds the same bytes from offset 0, so s lies at device offset `before`.
    const unsigned char* next = dispatch_extractor({state, entry, s, before, R, from_device ? 0 : 1048576u});
    // The scan loop goes on from the answer: it must lie inside the data.
    if (next && (next < s || next > s + R)) __builtin_trap();
  }
  // Every file recorded lies on the device.
  for (const cdr_node* folder = disk.first_child; folder; folder = folder->next) {
    for (const cdr_found_file* f = folder->first_file; f; f = f->next) {
      if (from_device && (f->offset > device_bytes.size() || f->size > device_bytes.size() - f->offset)) {
        __builtin_trap();
      }
    }
  }
  cdr_clear_children(nullptr, &disk);
  return 0;
}

}  // namespace qf::fuzz
