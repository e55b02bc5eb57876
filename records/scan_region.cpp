#include "records/scan_region.h"

#include <algorithm>

#include "records/btree_walk.h"
#include "records/db_page.h"

namespace qf {
namespace {

using namespace db_page;

// Reads `length` bytes from `offset` within the page image of `page_size`
// bytes that starts at `base` in `file`, cut at the page end.
bool read_page_bytes(const DbFile& file, std::uint64_t base, std::uint32_t page_size, std::int64_t offset,
                     std::int64_t length, ScanRegion& region) {
  region.length = 0;
  if (length <= 0 || offset < 0 || offset >= page_size) return false;
  const std::int64_t room = std::int64_t{page_size} - offset;
  const auto wanted = static_cast<std::size_t>(
      std::min<std::int64_t>({length, room, static_cast<std::int64_t>(kScanRegionCapacity)}));
  region.file_offset = base + static_cast<std::uint64_t>(offset);
  region.length = file.read_at(region.file_offset, region.buffer.data(), wanted);
  return region.length != 0;
}

bool read_region(PageAt at, std::int64_t offset, std::int64_t length, ScanRegion& region) {
  region.page = at.page;
  return read_page_bytes(at.file, page_start(at.page, at.page_size), at.page_size, offset, length, region);
}

// The freeblock's size field, or -1 when it cannot be read.
std::int64_t freeblock_size(PageAt at, std::uint16_t offset) {
  std::uint8_t bytes[2];
  const std::uint64_t where = page_start(at.page, at.page_size) + offset + 2;
  if (offset + kFreeblockHeaderSize > at.page_size || at.file.read_at(where, bytes, 2) != 2) return -1;
  return be16(bytes);
}

}  // namespace

bool cut_contacts_freeblock_region(PageAt at, std::uint16_t offset, ScanRegion& region) {
  region.length = 0;
  const std::int64_t size = freeblock_size(at, offset);
  if (size < 0) return false;
  std::uint8_t fifth = 0;
  const std::uint64_t where = page_start(at.page, at.page_size) + offset + 4;
  if (offset + 5u > at.page_size || at.file.read_at(where, &fifth, 1) != 1) return false;
  // The freeblock header overwrote the cell's length and row id varints; a
  // fifth byte of 7 or more is taken for the freed row's header-length byte
  // (a data row's header holds far more serial types) and skipped.
  if (fifth < 7) return read_region(at, offset + 4, size - 4, region);
  return read_region(at, offset + 5, size - 5, region);
}

bool cut_sms_freeblock_region(PageAt at, std::uint16_t offset, ScanRegion& region) {
  region.length = 0;
  const std::int64_t size = freeblock_size(at, offset);
  if (size < 0) return false;
  return read_region(at, offset + 4, size - 4, region);
}

bool cut_gap_region(PageAt at, ScanRegion& region) {
  region.length = 0;
  std::uint8_t header[kLeafHeaderSize];
  if (at.file.read_at(page_start(at.page, at.page_size), header, sizeof header) != sizeof header) return false;
  const std::int64_t cells = be16(header + kCellCount);
  const std::int64_t content_start = cell_content_start(be16(header + kCellContentStart));
  const std::int64_t from = kLeafHeaderSize + 2 * cells;
  return read_region(at, from, content_start - from, region);
}

bool cut_page_tail(PageAt at, std::uint32_t offset, ScanRegion& region) {
  return read_region(at, offset, std::int64_t{at.page_size} - offset, region);
}

bool cut_stale_leaf_page(const DbFile& side_file, const StalePage& image, std::uint32_t page_size,
                         ScanRegion& region) {
  region.length = 0;
  // Page 1 carries the 100-byte file header before its b-tree header.
  const std::uint32_t header = image.page == 1 ? kFileHeaderSize : 0;
  std::uint8_t type = 0;
  if (side_file.read_at(image.offset + header, &type, 1) != 1 || type != kLeafTable) return false;
  region.page = image.page;
  const std::uint32_t from = header + kLeafHeaderSize;
  return read_page_bytes(side_file, image.offset, page_size, from, std::int64_t{page_size} - from, region);
}

}  // namespace qf
