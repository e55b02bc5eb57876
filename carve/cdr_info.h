#pragma once
// The storage unit as a table of operations: discovery of disks and
// partitions, image files, release of the tree, the carving scan of one node,
// and copying one found file out of the raw device. Results are integers:
// 1 success, kCarveAbort (-2) abort from a callback.
#include <cstdint>
#include <string>

#include "carve/carve_state.h"
#include "carve/cdr_node.h"
#include "carve/found_file.h"

namespace qf {

struct cdr_info_win;

// Progress and abort callback of a save: (file size, bytes copied so far
// including the piece about to be written, the file, user data).
using save_callback = int (*)(std::uint64_t size, std::uint64_t copied, cdr_found_file* file,
                              void* user_data);

struct cdr_info_win {
  int (*init)(cdr_info_win* table) = nullptr;
  void (*back_to_start)(cdr_info_win* table) = nullptr;
  cdr_node* (*enumerate)(cdr_info_win* table, int flags) = nullptr;
  cdr_node* (*open_image)(cdr_info_win* table, cdr_node* parent, const std::string& path) = nullptr;
  void (*free_tree)(cdr_info_win* table, cdr_node* root) = nullptr;
  void (*clear_children)(cdr_info_win* table, cdr_node* node) = nullptr;
  int (*scan_partition)(cdr_info_win* table, cdr_node* partition, int category_mask,
                        progress_callback progress, void* user_data) = nullptr;
  int (*save_found_file)(cdr_info_win* table, cdr_found_file* file, const std::string& out_path,
                         ReadHandle* partition_holder, save_callback scan_func,
                         void* user_data) = nullptr;
  void (*shutdown)(cdr_info_win* table) = nullptr;
};

// A populated table (heap); release with delete_cdr_info.
cdr_info_win* new_cdr_info();
void delete_cdr_info(cdr_info_win* table);

int cdr_init(cdr_info_win* table);

// Root of the tree of disks and partitions; null when the disk interface class
// cannot be opened. `flags` is not consulted. Windows only finds real disks;
// elsewhere the root comes back with no disks.
cdr_node* cdr_enumerate(cdr_info_win* table, int flags);

// A disk-level node for an image file below `parent` (may be null), with one
// partition node spanning the file. Returns the disk-level node; its handles
// are null when the file cannot be opened.
cdr_node* cdr_open_image(cdr_info_win* table, cdr_node* parent, const std::string& path);

// Frees `root` and everything below it, closing each disk's handles.
void cdr_free_tree(cdr_info_win* table, cdr_node* root);

// Frees the children of `node` (recursively) and the found files of folders.
void cdr_clear_children(cdr_info_win* table, cdr_node* node);

// Carves `partition` with the types of `category_mask` (0: "all") in quick mode.
// Returns 0 when the scan ran, 1 when the engine refused its arguments or input.
int cdr_scan_partition(cdr_info_win* table, cdr_node* partition, int category_mask,
                       progress_callback progress, void* user_data);

// Copies the bytes of `file` from `partition_holder` into a new file at
// `out_path` (UTF-8). Every call has its own buffer and reads by position, so
// saves may run on several threads at once. Returns 1 when the file was
// written completely, kCarveAbort when `scan_func` aborted it (the partial
// file stays), 0 when it could not be created or a read failed.
int cdr_save_found_file(cdr_info_win* table, cdr_found_file* file, const std::string& out_path,
                        ReadHandle* partition_holder, save_callback scan_func, void* user_data);

// The same, and the SHA-256 of the bytes written, computed while copying
// (64 hex digits in `sha256`; empty unless the result is 1).
int cdr_save_found_file_digest(cdr_found_file* file, const std::string& out_path, ReadHandle* partition_holder,
                               save_callback scan_func, void* user_data, std::string& sha256);

// One-decimal size in powers of 1024: "1023.0 Byte", "1.0 KB", "1.5 MB", "2.0 GB".
std::string size_text(std::uint64_t bytes);
// The found-file list's variant: "1023.0 B".
std::string size_text_short(std::uint64_t bytes);

}  // namespace qf
