#pragma once
// A file found by a carving scan: where it lies on the raw device and how long
// it is. No bytes are copied while scanning; cdr_save_found_file copies later.
#include <cstdint>
#include <string>

namespace qf {

struct cdr_node;
struct carve_state;
struct type_spec;

struct cdr_found_file {
  cdr_node* folder = nullptr;  // the file-type folder holding it
  cdr_found_file* prev = nullptr;
  cdr_found_file* next = nullptr;
  std::string name;  // "%llu.%s" of (offset / block_size, suffix), at most 127 characters
  std::string note_a;  // always empty
  std::string note_b;
  std::uint64_t size = 0;
  std::uint64_t offset = 0;  // absolute on the device, partition start included
  int block_size = 0;
  bool end_validated = false;  // the extractor found the file's true end (not cut at a limit)
  std::string created;  // always empty
  std::string modified;
};

// The record step, called by extractors (and the header dump) for every file
// they delimit: names the file after its block on the device, appends it to the
// entry's folder, counts it, and announces it through state.progress.
// `offset` is the absolute device offset. `end_validated` says the file's own
// structure (an end marker, size fields, a directory) gave its end, rather
// than a size limit or the end of the data. Returns 1.
int record_found_file(type_spec& entry, carve_state& state, std::uint64_t size, std::uint64_t offset,
                      bool end_validated = false);

// "%llu.%s" of (offset / block_size, suffix), cut to 127 characters.
std::string found_file_name(std::uint64_t offset, int block_size, const std::string& suffix);

// Unlinks and frees every found file of `folder`.
void free_found_files(cdr_node* folder);

}  // namespace qf
