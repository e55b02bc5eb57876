// The whole scan loop over arbitrary bytes as an in-memory device, with the
// fourteen "all" types. Three leading bytes choose the settings:
//   byte 0  bit 0 quick mode, bit 1 indirect blocks, bit 2 header dump,
//           bits 3-4 block size (512, 512, 4096, 1000), bit 5 abort at the
//           first found file, bits 6-7 every type's limit (as selected,
//           1 KiB, 4 KiB, 16 KiB: small limits reach the paths of files
//           longer than their type allows)
//   byte 1  bits 0-3 chunk size (1 ... 16 sectors), bits 4-7 a failing
//           sector (0: none), so short reads and failed re-reads happen
//   byte 2  bits 0-1 scan start (sectors), bits 2-7 bytes cut off the
//           scanned length (the last chunk then reaches past the range)
// Chunks are a few sectors long, so headers sit at chunk ends and most files
// need the re-read from the device. A hand-off of a few sectors passes every
// found file's bytes to a writer thread, which checks them against the device.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "carve/carve_state.h"
#include "carve/cdr_info.h"
#include "carve/cdr_node.h"
#include "carve/found_file.h"
#include "carve/found_file_handoff.h"
#include "carve/scan_loop.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"

namespace {

constexpr std::uint64_t kSector = 512;
constexpr std::size_t kSettings = 3;

struct device {
  const std::uint8_t* bytes;
  std::uint64_t size;
  std::uint64_t failing;  // reads touching this offset or later fail; ~0 for none
};

std::int64_t read_device(const device& d, std::uint64_t offset, void* buffer, std::size_t length) {
  if (offset >= d.failing) return -1;
  if (offset >= d.size) return 0;
  std::uint64_t n = length < d.size - offset ? length : d.size - offset;
  if (offset + n > d.failing) n = d.failing - offset;  // the read stops before the bad sector
  std::memcpy(buffer, d.bytes + offset, static_cast<std::size_t>(n));
  return static_cast<std::int64_t>(n);
}

struct watch {
  bool abort_at_first_file;
  bool seen_file = false;
};

int progress(std::uint64_t, std::uint64_t, qf::cdr_found_file* file, void* user) {
  watch& w = *static_cast<watch*>(user);
  if (file) w.seen_file = true;
  return w.abort_at_first_file && w.seen_file ? qf::kCarveAbort : 0;
}

// Every record must lie on the device: the extractors delimit files only in
// bytes they were given.
void check_records(const qf::cdr_node& node, std::uint64_t device_size) {
  for (const qf::cdr_node* folder = node.first_child; folder; folder = folder->next) {
    for (const qf::cdr_found_file* f = folder->first_file; f; f = f->next) {
      if (f->size == 0 || f->offset > device_size || f->size > device_size - f->offset) {
        std::fprintf(stderr, "record %s/%s at %llu of %llu bytes lies outside the %llu-byte device\n",
                     folder->name.c_str(), f->name.c_str(), static_cast<unsigned long long>(f->offset),
                     static_cast<unsigned long long>(f->size), static_cast<unsigned long long>(device_size));
        __builtin_trap();
      }
    }
  }
}

void fail(const char* what, const qf::handed_file& f) {
  std::fprintf(stderr, "hand-off of %s/%s at %llu: %s\n", f.folder.c_str(), f.name.c_str(),
               static_cast<unsigned long long>(f.offset), what);
  __builtin_trap();
}

// The writer's side: every piece holds the device's bytes at the file's next
// position, and a file is complete only with all its bytes.
void check_handed_bytes(qf::found_file_handoff& handoff, const device& d, const std::atomic<bool>& scanned) {
  std::map<std::uint64_t, std::uint64_t> written;
  for (;;) {
    const bool over = scanned;
    qf::handoff_piece piece;
    if (!handoff.take(piece, std::chrono::milliseconds(over ? 0 : 1))) {
      if (over) return;
      continue;
    }
    if (piece.file) {
      const qf::handed_file& f = *piece.file;
      std::uint64_t& done = written[f.id];
      if (piece.kind == qf::handoff_kind::bytes) {
        if (piece.length == 0 || piece.length > f.size - done || f.offset + done + piece.length > d.size ||
            std::memcmp(piece.data, d.bytes + f.offset + done, piece.length) != 0) {
          fail("bytes that are not the device's", f);
        }
        done += piece.length;
      }
      if (piece.kind == qf::handoff_kind::complete && done != f.size) fail("complete before its end", f);
    }
    handoff.release(piece);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kSettings) return 0;
  const std::uint8_t mode_bits = data[0], chunk_bits = data[1], range_bits = data[2];
  static const int kBlockSizes[] = {512, 512, 4096, 1000};

  const device d{data + kSettings, size - kSettings,
                 (chunk_bits >> 4) ? (chunk_bits >> 4) * 3 * kSector : ~0ull};
  qf::carve_state state;
  qf::init_carve_state(state);
  state.mode = ((mode_bits & 1) ? qf::kModeQuick : 0) | ((mode_bits & 2) ? qf::kModeIndirect : 0) |
               ((mode_bits & 4) ? qf::kModeHeaderDump : 0);
  state.block_size = kBlockSizes[(mode_bits >> 3) & 3];
  qf::cdr_node disk;
  state.partition = &disk;
  qf::select_type_name(state, "all");
  if (const int limit = mode_bits >> 6) {
    for (int i = 0; i < state.type_count; ++i) {
      qf::type_spec_table[static_cast<std::size_t>(i)].max_len = 256ull << (2 * limit);
    }
  }

  const std::uint64_t start = (range_bits & 3) * kSector;
  const std::uint64_t cut = (range_bits >> 2) * 97ull;
  state.input_start = start;
  state.input_length = d.size > start + cut ? d.size - start - cut : 0;
  watch w{(mode_bits & 0x20) != 0};
  state.progress = &progress;
  state.user_data = &w;

  qf::input_range input;
  input.path = "memory";
  input.read = [&d](std::uint64_t offset, void* buffer, std::size_t length) {
    return read_device(d, offset, buffer, length);
  };
  input.input_start = state.input_start;
  input.input_length = state.input_length;
  input.device_size = d.size;
  qf::found_file_handoff handoff(3 * kSector + 7);
  state.observer = &handoff;
  std::atomic<bool> scanned{false};
  std::thread writer([&] { check_handed_bytes(handoff, d, scanned); });
  qf::scan_input_chunks(state, input, ((chunk_bits & 15) + 1) * kSector);
  scanned = true;
  writer.join();

  check_records(disk, d.size);
  qf::cdr_clear_children(nullptr, &disk);
  return 0;
}
