#pragma once
// Read-only access to a disk, a partition device or an image file.
//
// Every read names its own offset (a positioned read), so two threads may read
// through one handle at the same time without sharing a file position: the
// scan and the saves of found files never disturb each other. Nothing here can
// open for writing; a scanned disk is evidence and is never changed.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qf {

struct ReadHandle;  // opaque: a Win32 HANDLE on Windows, a file descriptor elsewhere

// Opens `utf8_path` for reading only (shared read/write with other openers, as
// a raw disk needs). Returns null when the path cannot be opened.
ReadHandle* open_read_handle(const std::string& utf8_path);

// Closes the handle; null is allowed and does nothing.
void close_read_handle(ReadHandle* handle);

// Reads up to `length` bytes at absolute `offset` into `buffer`. Returns the
// number of bytes read (0 at the end of the input, fewer than asked near it) or
// -1 on a read error. Raw disk handles need `offset` and `length` to be whole
// sectors; image files take any values.
std::int64_t read_at(ReadHandle* handle, std::uint64_t offset, void* buffer, std::size_t length);

// Length of the input in bytes, or -1 when the platform cannot tell.
std::int64_t read_handle_length(ReadHandle* handle);

}  // namespace qf
