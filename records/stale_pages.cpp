#include "records/stale_pages.h"

#include <algorithm>

#include "records/db_page.h"

namespace qf {
namespace {

using db_page::be32;

constexpr std::uint32_t kWalMagic = 0x377F0682;  // the low bit gives the checksum byte order
constexpr std::uint64_t kWalHeaderSize = 32;
constexpr std::uint64_t kWalFrameHeaderSize = 24;
constexpr std::uint8_t kJournalMagic[8] = {0xD9, 0xD5, 0x05, 0xF9, 0x20, 0xA1, 0x63, 0xD7};
constexpr std::uint64_t kJournalSectorSizeOffset = 20;
constexpr std::uint32_t kMinSector = 512;
constexpr std::uint32_t kMaxSector = 65536;
// Page number before, checksum after the page.
constexpr std::uint64_t kJournalRecordExtra = 8;

// The records from `start` on while they name pages of the database.
std::vector<StalePage> journal_records_from(const DbFile& journal, std::uint64_t start, std::uint64_t file_size,
                                            std::uint32_t page_size, std::uint64_t page_count) {
  std::vector<StalePage> pages;
  const std::uint64_t record = page_size + kJournalRecordExtra;
  for (std::uint64_t at = start; at + record <= file_size; at += record) {
    std::uint8_t number[4];
    if (journal.read_at(at, number, 4) != 4) break;
    const std::uint32_t page = be32(number);
    if (page == 0 || page > page_count) break;
    pages.push_back({page, at + 4, 0});
  }
  return pages;
}

}  // namespace

std::vector<StalePage> list_wal_frames(const DbFile& wal, std::uint64_t file_size, std::uint32_t page_size) {
  std::vector<StalePage> frames;
  std::uint8_t header[12];
  if (wal.read_at(0, header, sizeof header) != sizeof header) return frames;
  if ((be32(header) & ~1u) != kWalMagic || be32(header + 8) != page_size) return frames;
  const std::uint64_t frame_size = kWalFrameHeaderSize + page_size;
  std::uint32_t number = 1;
  for (std::uint64_t at = kWalHeaderSize; at + frame_size <= file_size; at += frame_size, ++number) {
    std::uint8_t page[8];
    if (wal.read_at(at, page, 8) != 8) break;
    if (be32(page) != 0) frames.push_back({be32(page), at + kWalFrameHeaderSize, number, be32(page + 4) != 0});
  }
  return frames;
}

bool locate_stale_image(const std::vector<StalePage>& images, const StalePage& from, std::uint32_t page,
                        std::uint64_t& offset) {
  if (from.wal_frame == 0) {
    const auto it = std::find_if(images.begin(), images.end(), [page](const StalePage& i) { return i.page == page; });
    if (it == images.end()) return false;
    offset = it->offset;
    return true;
  }
  bool found = false;
  bool past_commit = false;
  for (const StalePage& image : images) {
    if (past_commit) break;
    if (image.page == page) {
      offset = image.offset;
      found = true;
    }
    past_commit = image.wal_frame >= from.wal_frame && image.commit;
  }
  return found;
}

std::vector<StalePage> list_journal_pages(const DbFile& journal, std::uint64_t file_size, std::uint32_t page_size,
                                          std::uint64_t page_count) {
  std::uint8_t header[24];
  const bool whole = journal.read_at(0, header, sizeof header) == sizeof header;
  if (whole && std::equal(kJournalMagic, kJournalMagic + 8, header)) {
    const std::uint32_t sector = be32(header + kJournalSectorSizeOffset);
    if (sector >= kMinSector && sector <= kMaxSector && (sector & (sector - 1)) == 0) {
      return journal_records_from(journal, sector, file_size, page_size, page_count);
    }
  }
  std::vector<StalePage> best;
  for (std::uint32_t sector = kMinSector; sector <= kMaxSector; sector *= 2) {
    std::vector<StalePage> pages = journal_records_from(journal, sector, file_size, page_size, page_count);
    if (pages.size() > best.size()) best = std::move(pages);
  }
  return best;
}

}  // namespace qf
