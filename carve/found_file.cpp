#include "carve/found_file.h"

#include <cinttypes>
#include <cstdio>

#include "carve/carve_state.h"
#include "carve/cdr_node.h"
#include "carve/scan_observer.h"
#include "carve/type_spec.h"

namespace qf {

std::string found_file_name(std::uint64_t offset, int block_size, const std::string& suffix) {
  // A name buffer of 128 bytes: longer names are cut, never overrun.
  char name[128];
  const std::uint64_t unit = block_size > 0 ? static_cast<std::uint64_t>(block_size) : 1;
  std::snprintf(name, sizeof name, "%" PRIu64 ".%s", offset / unit, suffix.c_str());
  return name;
}

int record_found_file(type_spec& entry, carve_state& state, std::uint64_t size, std::uint64_t offset,
                      bool end_validated) {
  cdr_node* folder = entry.folder;
  if (!folder) return 1;  // an entry that was never selected has nowhere to hold files
  auto* file = new cdr_found_file;
  file->folder = folder;
  file->name = found_file_name(offset, state.block_size, entry.suffix);
  file->size = size;
  file->offset = offset;
  file->block_size = state.block_size;
  file->end_validated = end_validated;
  file->prev = folder->last_file;
  if (folder->last_file) {
    folder->last_file->next = file;
  } else {
    folder->first_file = file;
  }
  folder->last_file = file;

  entry.written = 1;
  ++state.files_found;
  ++entry.found;
  if (state.observer) state.observer->file_recorded(*file);
  // The result is not looked at here: an abort takes effect at the scan loop's
  // next call, which sees the same answer again.
  if (state.progress) state.progress(state.input_start + state.input_length, offset, file, state.user_data);
  return 1;
}

void free_found_files(cdr_node* folder) {
  cdr_found_file* file = folder->first_file;
  while (file) {
    cdr_found_file* next = file->next;
    delete file;
    file = next;
  }
  folder->first_file = folder->last_file = nullptr;
}

}  // namespace qf
