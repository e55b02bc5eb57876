#include "records/table_scan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "records/record_lengths.h"

namespace qf {

bool prepare_table_scan(TableScan& scan, bool learn_lengths) {
  if (!scan.file.open(scan.path) || !read_page_size(scan.file, scan.page_size)) return false;
  if (scan.layout.root_page <= 0) return false;
  scan.leaf_pages = walk_table_btree(scan.file, scan.page_size, static_cast<std::uint32_t>(scan.layout.root_page));
  std::sort(scan.leaf_pages.begin(), scan.leaf_pages.end());
  scan.freeblock_lists = build_freeblock_lists(scan.file, scan.page_size, scan.leaf_pages);
  if (learn_lengths) scan.record_lengths = learn_record_lengths(scan.file, scan.page_size, scan.leaf_pages);
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(scan.path), ec);
  if (!ec) scan.freelist_pages = list_freelist_pages(scan.file, scan.page_size, size);
  return true;
}

void for_each_region(const TableScan& scan, FreeblockCut cut, std::size_t min_length,
                     const std::function<void(const ScanRegion&)>& decode) {
  const auto cut_freeblock = cut == FreeblockCut::contacts ? cut_contacts_freeblock_region : cut_sms_freeblock_region;
  ScanRegion region;
  for (const auto& [page, chain] : scan.freeblock_lists) {
    for (std::uint16_t offset : chain) {
      if (cut_freeblock({scan.file, scan.page_size, page}, offset, region) && region.length > min_length) {
        decode(region);
      }
    }
  }
  for (std::uint32_t page : scan.leaf_pages) {
    if (cut_gap_region({scan.file, scan.page_size, page}, region) && region.length > min_length) decode(region);
  }
  for (const FreelistPage& freed : scan.freelist_pages) {
    if (cut_page_tail({scan.file, scan.page_size, freed.page}, freed.old_content_from, region) &&
        region.length > min_length) {
      region.kind = SourceKind::freelist_page;
      decode(region);
      region.kind = SourceKind::free_space;
    }
  }
}

}  // namespace qf
