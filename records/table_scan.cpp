#include "records/table_scan.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "records/db_page.h"
#include "records/record_lengths.h"

namespace qf {

namespace {

std::uint64_t size_of(const std::string& utf8_path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(utf8_path), ec);
  return ec ? 0 : size;
}

void open_side_files(TableScan& scan) {
  const std::uint64_t page_count = scan.page_count;
  const std::string wal = scan.path + "-wal";
  if (scan.wal.open(wal)) scan.wal_frames = list_wal_frames(scan.wal, size_of(wal), scan.page_size);
  const std::string journal = scan.path + "-journal";
  if (scan.journal.open(journal)) {
    scan.journal_pages = list_journal_pages(scan.journal, size_of(journal), scan.page_size, page_count);
  }
}

bool asked_to_stop(const std::function<bool()>& stop) { return stop && stop(); }

// Whether an older page image can hold the table's rows. A -wal or -journal
// holds images of every table's pages; one whose live cells all have a column
// count the table never shows belongs to another table, and its freed bytes
// would be read as this table's rows (fragments of names and sort keys
// filed as deleted contacts). An image without live cells cannot tell and is
// searched.
bool image_of_table_page(const DbFile& side_file, const StalePage& image, const TableScan& scan,
                         std::vector<std::uint8_t>& page) {
  page.resize(scan.page_size);
  if (side_file.read_at(image.offset, page.data(), page.size()) != page.size()) return true;
  const std::uint32_t header = image.page == 1 ? db_page::kFileHeaderSize : 0;
  const std::uint32_t max_cells = (scan.page_size - header - db_page::kLeafHeaderSize) / 2;
  const std::uint32_t cells = std::min(db_page::be16(&page[header + db_page::kCellCount]), max_cells);
  bool any_live = false;
  for (std::uint32_t i = 0; i < cells; ++i) {
    const std::uint32_t cell = db_page::be16(&page[header + db_page::kLeafHeaderSize + 2 * i]);
    const int columns = record_column_count(page.data(), scan.page_size, cell);
    if (columns <= 0) continue;
    if (columns == scan.layout.column_count ||
        std::binary_search(scan.record_lengths.begin(), scan.record_lengths.end(), columns)) {
      return true;
    }
    any_live = true;
  }
  return !any_live;
}

template <class Decode>
void decode_stale_pages(const DbFile& side_file, const std::vector<StalePage>& images, const TableScan& scan,
                        std::size_t min_length, ScanRegion& region, const std::function<bool()>& stop,
                        Decode&& decode) {
  std::vector<std::uint8_t> page;
  for (const StalePage& image : images) {
    if (asked_to_stop(stop)) return;
    if (!cut_stale_leaf_page(side_file, image, scan.page_size, region) || region.length <= min_length) continue;
    if (!image_of_table_page(side_file, image, scan, page)) continue;
    region.kind = SourceKind::stale_page;
    region.wal_frame = image.wal_frame;
    decode(region);
  }
}

}  // namespace

bool prepare_table_scan(TableScan& scan, bool learn_lengths) {
  if (!scan.file.open(scan.path) || !read_page_size(scan.file, scan.page_size)) return false;
  if (scan.layout.root_page <= 0 || !read_usable_size(scan.file, scan.page_size, scan.usable_size)) return false;
  scan.page_count = size_of(scan.path) / scan.page_size;
  scan.leaf_pages = walk_table_btree(scan.file, scan.page_size, static_cast<std::uint32_t>(scan.layout.root_page),
                                     &scan.damaged_pages);
  // A damaged tree hides the leaves below the damage: every leaf table page
  // of the file is searched then (the decoders' patterns tell the table's
  // rows from other tables').
  if (!scan.damaged_pages.empty()) {
    const std::vector<std::uint32_t> all = find_leaf_table_pages(scan.file, scan.page_size, scan.page_count);
    scan.leaf_pages.insert(scan.leaf_pages.end(), all.begin(), all.end());
  }
  std::sort(scan.leaf_pages.begin(), scan.leaf_pages.end());
  scan.leaf_pages.erase(std::unique(scan.leaf_pages.begin(), scan.leaf_pages.end()), scan.leaf_pages.end());
  scan.freeblock_lists = build_freeblock_lists(scan.file, scan.page_size, scan.leaf_pages);
  if (learn_lengths) scan.record_lengths = learn_record_lengths(scan.file, scan.page_size, scan.leaf_pages);
  scan.freelist_pages = list_freelist_pages(scan.file, scan.page_size, size_of(scan.path));
  open_side_files(scan);
  return true;
}

OverflowReader overflow_reader(const TableScan& scan) {
  return [&scan](std::uint32_t first_page, std::uint64_t length, std::vector<std::uint8_t>& out) {
    return read_overflow_chain({scan.file, scan.page_size, scan.usable_size, scan.page_count, {}}, first_page, length,
                               out);
  };
}

OverflowReader stale_overflow_reader(const TableScan& scan, const ScanRegion& region) {
  const bool in_wal = region.wal_frame != 0;
  const DbFile& file = in_wal ? scan.wal : scan.journal;
  const std::vector<StalePage>& images = in_wal ? scan.wal_frames : scan.journal_pages;
  StalePage from;
  from.wal_frame = region.wal_frame;
  return [&scan, &file, &images, from](std::uint32_t first_page, std::uint64_t length, std::vector<std::uint8_t>& out) {
    // A -wal may hold pages past the end of the main file: the side file's
    // images bound the chain instead.
    const OverflowChain chain{file, scan.page_size, scan.usable_size, UINT32_MAX,
                              [&images, from](std::uint32_t page, std::uint64_t& start) {
                                return locate_stale_image(images, from, page, start);
                              }};
    return read_overflow_chain(chain, first_page, length, out);
  };
}

void for_each_region(const TableScan& scan, FreeblockCut cut, std::size_t min_length,
                     const std::function<void(const ScanRegion&)>& decode, const std::function<bool()>& stop) {
  const auto cut_freeblock = cut == FreeblockCut::contacts ? cut_contacts_freeblock_region : cut_sms_freeblock_region;
  ScanRegion region;
  for (const auto& [page, chain] : scan.freeblock_lists) {
    for (std::uint16_t offset : chain) {
      if (asked_to_stop(stop)) return;
      if (cut_freeblock({scan.file, scan.page_size, page}, offset, region) && region.length > min_length) {
        decode(region);
      }
    }
  }
  for (std::uint32_t page : scan.leaf_pages) {
    if (asked_to_stop(stop)) return;
    if (cut_gap_region({scan.file, scan.page_size, page}, region) && region.length > min_length) decode(region);
  }
  for (const FreelistPage& freed : scan.freelist_pages) {
    if (asked_to_stop(stop)) return;
    if (cut_page_tail({scan.file, scan.page_size, freed.page}, freed.old_content_from, region) &&
        region.length > min_length) {
      region.kind = SourceKind::freelist_page;
      decode(region);
      region.kind = SourceKind::free_space;
    }
  }
  decode_stale_pages(scan.wal, scan.wal_frames, scan, min_length, region, stop, decode);
  region.wal_frame = 0;
  region.from_journal = true;
  decode_stale_pages(scan.journal, scan.journal_pages, scan, min_length, region, stop, decode);
}

}  // namespace qf
