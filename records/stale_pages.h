#pragma once
// Older images of database pages kept in the side files SQLite writes beside
// a database: the write-ahead log (-wal) and the rollback journal
// (-journal). On phones with secure delete on, the freed rows in the main
// file are zeroed, and a deleted row survives mainly here, in the image of
// its page from before the deletion.
//
// -wal: a 32-byte header, then frames of a 24-byte frame header and one page.
//   header offset 0, 4 bytes    magic 0x377F0682 or 0x377F0683
//   header offset 8, 4 bytes    page size
//   frame offset 0, 4 bytes     page number
//   frame offset 4, 4 bytes     database size in pages after a commit, 0 in
//                               the other frames of a transaction
// Every frame is listed, those of older log generations (other salts)
// included: each is an image the page once had.
//
// -journal: a header of one sector, then records of a 4-byte page number,
// one page and a 4-byte checksum.
//   header offset 0, 8 bytes    magic D9 D5 05 F9 20 A1 63 D7
//   header offset 20, 4 bytes   sector size (the header's size)
// A journal kept after its commit (journal_mode PERSIST) has its header
// zeroed, sector size included; the header size is then the one under which
// most records name pages of the database.
#include <cstdint>
#include <vector>

#include "records/db_file.h"

namespace qf {

struct StalePage {
  std::uint32_t page = 0;         // the database page it is an image of
  std::uint64_t offset = 0;       // where the image starts in the side file
  std::uint32_t wal_frame = 0;    // 1-based frame number (-wal only)
  bool commit = false;            // the last frame of its transaction (-wal only)
};

// Where the image of `page` lies in a side file, for reading an overflow
// chain of a row found in the image `from`: in a -wal the latest image of
// the page up to the end of `from`'s transaction (the pages that transaction
// wrote belong together), in a -journal the first record of the page. False
// when the side file holds no such image.
bool locate_stale_image(const std::vector<StalePage>& images, const StalePage& from, std::uint32_t page,
                        std::uint64_t& offset);

// The frames of a -wal of `file_size` bytes whose page size matches the
// database's. Empty for a file that is not a -wal of such pages.
std::vector<StalePage> list_wal_frames(const DbFile& wal, std::uint64_t file_size, std::uint32_t page_size);

// The page records of a -journal of `file_size` bytes, for a database of
// `page_count` pages of `page_size` bytes.
std::vector<StalePage> list_journal_pages(const DbFile& journal, std::uint64_t file_size, std::uint32_t page_size,
                                          std::uint64_t page_count);

}  // namespace qf
