#pragma once
// Settings and counters of one carving scan, filled from the engine's argument
// vector (carve/carve_options.h) and read by the scan loop and extractors.
#include <cstdint>
#include <string>

namespace qf {

struct cdr_node;
struct cdr_found_file;
struct input_range;
class scan_observer;

// Called with (total, done, found file or null, user data). total is always
// input_start + input_length; done is an absolute device offset. A result of
// kCarveAbort asks the scan to stop; anything else means go on.
using progress_callback = int (*)(std::uint64_t total, std::uint64_t done, cdr_found_file* file,
                                  void* user_data);

constexpr int kCarveAbort = -2;

// Called with a line of diagnostics about the bytes scanned (a damaged
// header, memory that could not be had) and the user data. The engine never
// prints these itself; a caller without a note callback drops them.
using note_callback = void (*)(const std::string& text, void* user_data);

// Bits of carve_state::mode.
constexpr std::uint32_t kModeVerbose = 2;     // -v: accepted, no effect
constexpr std::uint32_t kModeQuiet = 4;       // -Q: no progress calls after chunks, no marks
constexpr std::uint32_t kModeIndirect = 8;    // -d: indirect block detection
constexpr std::uint32_t kModeQuick = 16;      // -q: headers only at block_size boundaries
constexpr std::uint32_t kModeHeaderDump = 32; // -a: record headers the extractor skipped
constexpr std::uint32_t kModeWrite = 64;      // -w: accepted, no effect
constexpr std::uint32_t kModeM = 128;         // -m: accepted, no effect

// The byte that matches any byte in a search string.
constexpr unsigned char kWildcard = '?';

// Invocation text is bounded like the fixed buffer it stands for.
constexpr std::size_t kInvocationLimit = 1024;

struct carve_state {
  std::uint32_t mode = 0;
  std::uint32_t reserved0 = 0;
  std::string config_path;  // full path of "carver.conf"; set by -c, never read
  std::string input_path;   // -i: the scanned node's device path
  std::string output_dir;   // full path of "output"; -o; nothing is written there
  std::string start_time;   // ctime form without the line break
  std::string invocation;   // every argument followed by a blank, at most 1023 bytes
  std::uint32_t reserved1 = 0;
  int type_count = 0;   // live entries of type_spec_table
  int chunk_mib = 4;    // -k: read chunk in MiB
  int files_found = 0;  // found files of this scan, all types
  int block_size = 512; // -b: quick-mode step and found-file name unit
  std::uint64_t input_length = 0;  // bytes to scan
  std::uint64_t input_start = 0;   // absolute device offset of the first byte to scan
  int skip_blocks = 0;       // -s
  int timestamp_output = 0;  // -T: no effect
  cdr_node* partition = nullptr;  // the scanned node; parent of the type folders
  progress_callback progress = nullptr;
  void* user_data = nullptr;
  note_callback note = nullptr;
  // The device being scanned, while a scan runs: extractors read the parts of
  // a file that lie past their chunk through it (carve/file_bytes.h).
  const input_range* device = nullptr;
  // Sees each recorded file and each searched chunk (carve/scan_observer.h); none by default.
  scan_observer* observer = nullptr;
};

// Hands `text` to state.note, when set.
void carve_note(const carve_state& state, const std::string& text);

// A state with every default in place (paths made absolute, start time now).
void init_carve_state(carve_state& state);

// The absolute form of a UTF-8 path, or the path itself when none can be formed.
std::string full_path_or_self(const std::string& path);

}  // namespace qf
