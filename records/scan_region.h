#pragma once
// Cutting the byte regions in which freed rows survive out of a leaf page:
// the content of a freeblock, and the gap between the cell pointer array and
// the cell content area. A region is read into one reused buffer.
//
// Every region is cut at its own page's end: a freeblock whose size field is
// damaged (or a 4-byte freeblock cut from its fifth byte, whose length comes
// out as -1) must never hand the decoder the live cells of the next pages as
// if they were deleted. A region whose length would be 0 or negative is
// skipped.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/db_file.h"
#include "records/record_header.h"
#include "records/record_source.h"
#include "records/stale_pages.h"

namespace qf {

// Region lengths are 16-bit: at most 65535 bytes.
constexpr std::size_t kScanRegionCapacity = 65535;

// One region: the bytes really read, at most kScanRegionCapacity. The
// decoders read nothing past `length`.
struct ScanRegion {
  std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(kScanRegionCapacity);
  std::size_t length = 0;
  std::uint32_t page = 0;          // the page the region was cut from
  std::uint64_t file_offset = 0;   // where its first byte lies in the file
  SourceKind kind = SourceKind::free_space;
  std::uint32_t wal_frame = 0;       // 1-based, when cut from a -wal frame
  bool from_journal = false;         // cut from the -journal

  RegionBytes bytes() const { return {buffer.data(), length}; }
};

// Where one page lies in the file.
struct PageAt {
  const DbFile& file;
  std::uint32_t page_size;
  std::uint32_t page;
};

// Contacts: freeblock at offset F of size Z. When the freeblock's fifth byte
// is below 7 the region is the Z - 4 bytes from F + 4; otherwise that byte is
// a freed row's header-length byte and the region is the Z - 5 bytes from
// F + 5. False when nothing was read.
bool cut_contacts_freeblock_region(PageAt at, std::uint16_t offset, ScanRegion& region);

// Messages: the Z - 4 bytes from F + 4.
bool cut_sms_freeblock_region(PageAt at, std::uint16_t offset, ScanRegion& region);

// Both kinds: with N cells and the cell content starting at C, the C - 8 - 2N
// bytes from 8 + 2N. False when the gap is empty.
bool cut_gap_region(PageAt at, ScanRegion& region);

// The bytes from `offset` to the page's end: a page that left the table
// whole (a freelist page) keeps its old rows anywhere past its header.
bool cut_page_tail(PageAt at, std::uint32_t offset, ScanRegion& region);

// An older image of a page in a side file (-wal, -journal), when it is a
// leaf table page: everything past its b-tree header. Its cells are read
// too: a row live in an older image may be deleted since, and an old copy
// of a row that is still live is told apart by the duplicate rules.
bool cut_stale_leaf_page(const DbFile& side_file, const StalePage& image, std::uint32_t page_size,
                         ScanRegion& region);

}  // namespace qf
