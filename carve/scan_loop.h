#pragma once
// The scan loop: reads the scanned range in large chunks, searches every chunk
// for the header of every selected type, and hands each match to the type's
// extractor (carve/extractor.h). Nothing is written anywhere: found files are
// records of a device offset and a size (carve/found_file.h).
//
// carve_scan_input (declared in carve/carve_engine.h) is the engine's entry;
// the pieces below let tests and fuzzers drive the loop over memory.
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "carve/carve_state.h"

namespace qf {

struct ReadHandle;

// Reads up to `length` bytes at absolute device `offset` into `buffer`: the
// bytes read, 0 at the end of the device, -1 on a read error.
using device_reader = std::function<std::int64_t(std::uint64_t offset, void* buffer, std::size_t length)>;

// What one scan reads: its device, and which bytes of it.
struct input_range {
  std::string path;  // for messages
  device_reader read;
  std::uint64_t input_length = 0;
  std::uint64_t input_start = 0;  // absolute device offset of the first byte scanned
  std::uint64_t device_size = 0;  // bytes on the whole device; 0 when unknown
};

// A reader over a read handle (the scanned node's scan_handle).
device_reader handle_reader(ReadHandle* handle);

// Bytes read from the device for one extractor call. Reads stop early at the
// end of the device (or at a failing sector): `length` then counts the bytes
// obtained, so a file near the end can still be delimited in them.
struct disk_bytes {
  std::unique_ptr<unsigned char[]> storage;
  const unsigned char* data = nullptr;
  std::uint64_t length = 0;
};

// Up to `length` bytes at absolute `offset`, read in whole sectors. Empty
// (null data) when not one byte could be read or the memory is not there.
// With the device size known, nothing past the device end is asked for (or
// allocated), so a re-read near the end costs only the bytes that are there.
disk_bytes read_from_disk(const input_range& input, std::uint64_t offset, std::uint64_t length);

// Searches one chunk of `n` bytes (the buffer holds at least n + 128) that
// starts at device offset `base`, for every live type_spec_table entry.
// Returns false when the progress callback asked to abort.
bool search_chunk(carve_state& state, const input_range& input, unsigned char* chunk, std::uint64_t n,
                  std::uint64_t base);

// Steps 2 on of a scan run over an input that is known to be usable: chunked
// reads from input_start, each chunk searched, progress after each chunk.
// Returns 0 (1 only when the chunk buffer cannot be had).
int scan_input_range(carve_state& state, const input_range& input);

// The same in chunks of `chunk_size` bytes instead of chunk_mib MiB: fuzzers
// and tests use small ones so that chunk ends and re-reads come often. The
// chunk size should be a whole number of sectors.
int scan_input_chunks(carve_state& state, const input_range& input, std::uint64_t chunk_size);

// Where the engine's scan run writes its marks ("Processing: PATH" and "|"
// before the chunks, "|" after them): standard error until changed, nowhere
// for null. A terminal tool with a progress line of its own switches them off.
void set_scan_marks(std::FILE* stream);

// Bytes past a chunk's data that header comparisons may touch.
constexpr std::size_t kChunkSpare = 128;

}  // namespace qf
