#pragma once
// Where a recovered record came from. Filled by the loader and the scanners,
// shown by the reports and report.json, so a user can check every record
// against the evidence.
#include <cstddef>
#include <cstdint>

namespace qf {

// Which file the bytes were read from.
enum class SourceFile : std::uint8_t {
  unknown,
  pulled_copy,  // the database as pulled, read with its -wal
  backup_copy,  // the bare backup copy (no -wal applied)
  wal,          // a frame of the -wal side file
  journal,      // the rollback -journal side file
};

// How the record was found in that file.
enum class SourceKind : std::uint8_t {
  unknown,
  live,           // returned by the live-record reader
  free_space,     // a freeblock or the unallocated gap of a leaf page
  freelist_page,  // a page on the freelist that was a leaf page of the table
  stale_page,     // an older version of a page (earlier -wal frame, journal)
  damaged_page,   // a leaf page SQLite refused, read by our own walker
};

struct RecordSource {
  SourceFile file = SourceFile::unknown;
  SourceKind kind = SourceKind::unknown;
  std::uint32_t page = 0;       // 1-based page number; 0 when not known
  std::uint32_t offset = 0;     // byte offset of the record within the file
  std::uint32_t wal_frame = 0;  // 1-based frame number when file == wal
};

// `region` with its offset moved on by `start` bytes: where one row of a
// region begins.
inline RecordSource source_at(RecordSource region, std::size_t start) {
  region.offset += static_cast<std::uint32_t>(start);
  return region;
}

}  // namespace qf
