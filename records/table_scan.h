#pragma once
// The state of one raw scan of one database copy: what the probe said about
// the table, the open file, and the pages and freeblocks the walk listed.
// Created for one scan and destroyed after it; the file closes with it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "records/btree_walk.h"
#include "records/db_file.h"
#include "records/freelist_pages.h"
#include "records/overflow_chain.h"
#include "records/scan_region.h"
#include "records/spilled_row.h"
#include "records/stale_pages.h"
#include "records/table_layout.h"

namespace qf {

struct TableScan {
  std::string path;
  TableLayout layout;
  std::uint32_t page_size = 0;
  std::uint32_t usable_size = 0;  // page size less the reserved bytes
  std::uint64_t page_count = 0;
  DbFile file;
  // Leaf table pages of the table, ascending once sorted.
  std::vector<std::uint32_t> leaf_pages;
  // Pages the table's tree points at that are no table pages: the damage.
  // With any, `leaf_pages` holds every leaf table page of the file.
  std::vector<std::uint32_t> damaged_pages;
  // Chain-ordered freeblock offsets of each leaf page that has any.
  FreeblockLists freeblock_lists;
  // Column counts that the table's live records show.
  std::vector<int> record_lengths;
  // The file's freelist: whole pages of deleted rows, the table's among them.
  std::vector<FreelistPage> freelist_pages;
  // The side files beside the copy and the older page images they hold.
  DbFile wal;
  std::vector<StalePage> wal_frames;
  DbFile journal;
  std::vector<StalePage> journal_pages;
};

// Opens the copy at `scan.path` (already probed into `scan.layout`), reads
// the page size, walks the table's b-tree, sorts the leaf pages and collects
// their freeblock chains; with `learn_lengths` also the live record lengths.
// False when the file cannot be opened or its page size is unusable.
bool prepare_table_scan(TableScan& scan, bool learn_lengths);

// Reads the overflow chains of the scanned file (for rows whose bytes lie in
// the file itself; an older page image's chain may have been reused since).
OverflowReader overflow_reader(const TableScan& scan);

// Reads the overflow chains of rows found in an older page image (a region
// of kind stale_page) from the other images of the same side file: a long
// row deleted inside the -wal, or kept in the -journal, has its chain there.
OverflowReader stale_overflow_reader(const TableScan& scan, const ScanRegion& region);

// How freeblocks are cut: contacts skip a header-length byte, sms do not.
enum class FreeblockCut { contacts, sms };

// Hands every region to `decode`, in this order: the freeblocks of each page
// of `freeblock_lists` (ascending pages, each chain in chain order), then the
// gap of each page of `leaf_pages`, the old content of each freelist page,
// then every leaf page image of the -wal's frames and of the -journal. Regions not longer than `min_length`
// are skipped. One buffer serves all regions. `stop`, when given, is asked
// before each region: true ends the walk there.
void for_each_region(const TableScan& scan, FreeblockCut cut, std::size_t min_length,
                     const std::function<void(const ScanRegion&)>& decode,
                     const std::function<bool()>& stop = {});

}  // namespace qf
