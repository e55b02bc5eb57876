// Arbitrary bytes read as the side files and freed pages of a database: as a
// -wal (frames), as a -journal (page records, header or none) and as a
// database whose freelist is walked; every page image found is cut and run
// through both decoders, which follow the overflow chains of rows that spill
// out of their region into the same bytes. Damaged counts, sizes and chains
// (cycles, pages past the end, chains longer than the row) must end cleanly.
// The page size is the one the bytes declare (a -wal's header, a database's
// header); otherwise the first byte picks it (512 << (byte % 8)).
// Replay a crash: records_side_files_fuzz <file>.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

#include "records/btree_walk.h"
#include "records/contact_candidate.h"
#include "records/db_page.h"
#include "records/freelist_pages.h"
#include "records/message_candidate.h"
#include "records/overflow_chain.h"
#include "records/scan_region.h"
#include "records/stale_pages.h"

namespace {

namespace fs = std::filesystem;

std::string write_file(const std::uint8_t* data, std::size_t size) {
  static const fs::path path = fs::temp_directory_path() / ("qf-side-fuzz-" + std::to_string(::getpid()));
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path.string();
}

// The android4 layouts: sms with 17 columns (address 2, body 12, thread_id 1,
// date 4, type 9), data with 27 (raw_contact_id 3, data1 8).
qf::TableLayout layout(std::int32_t columns, std::initializer_list<std::pair<std::int32_t qf::TableLayout::*, std::int32_t>> at) {
  qf::TableLayout l;
  l.column_count = columns;
  for (const auto& [field, position] : at) l.*field = position;
  return l;
}

const qf::TableLayout& sms_layout() {
  using L = qf::TableLayout;
  static const L l = layout(17, {{&L::address_column, 2}, {&L::body_column, 12}, {&L::thread_id_column, 1},
                                 {&L::date_column, 4}, {&L::type_column, 9}});
  return l;
}

const qf::TableLayout& data_layout() {
  using L = qf::TableLayout;
  static const L l = layout(27, {{&L::raw_contact_id_column, 3}, {&L::data1_column, 8}});
  return l;
}

void decode(const qf::ScanRegion& region, const qf::CandidateOptions& options) {
  static const qf::MimetypeNameTable mimetypes = {{5, "vnd.android.cursor.item/phone_v2"},
                                                  {7, "vnd.android.cursor.item/name"}};
  qf::ContactTable contacts;
  qf::ContactCandidate(region.buffer.data(), region.length, data_layout(), contacts, mimetypes, options);
  qf::ConversationTable conversations;
  qf::MessageCandidate(region.buffer.data(), region.length, sms_layout(), conversations, options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  qf::DbFile file;
  if (!file.open(write_file(data, size))) return 0;
  std::uint32_t page_size = 512u << (data[0] % 8);
  if (size >= 12 && (qf::db_page::be32(data) & ~1u) == 0x377F0682) {
    page_size = qf::db_page::be32(data + 8);
  } else {
    qf::read_page_size(file, page_size);
  }
  if (page_size < 512 || page_size > 65536) return 0;
  qf::CandidateOptions options;
  const qf::OverflowChain chain{file, page_size, page_size - data[0] % 64, size / page_size};
  options.usable_size = chain.usable_size;
  options.read_overflow = [&](std::uint32_t first_page, std::uint64_t length, std::vector<std::uint8_t>& out) {
    return qf::read_overflow_chain(chain, first_page, length, out);
  };
  qf::ScanRegion region;
  // A row in a page image reads its overflow chain from the side file's
  // other images, as the scan does.
  auto cut_all = [&](const std::vector<qf::StalePage>& images) {
    for (const qf::StalePage& image : images) {
      if (!qf::cut_stale_leaf_page(file, image, page_size, region)) continue;
      const qf::OverflowChain side{file, page_size, chain.usable_size, UINT32_MAX,
                                   [&](std::uint32_t page, std::uint64_t& start) {
                                     return qf::locate_stale_image(images, image, page, start);
                                   }};
      qf::CandidateOptions stale = options;
      stale.read_overflow = [&](std::uint32_t first_page, std::uint64_t length, std::vector<std::uint8_t>& out) {
        return qf::read_overflow_chain(side, first_page, length, out);
      };
      decode(region, stale);
    }
  };
  cut_all(qf::list_wal_frames(file, size, page_size));
  cut_all(qf::list_journal_pages(file, size, page_size, size / page_size + 2));
  for (const qf::FreelistPage& freed : qf::list_freelist_pages(file, page_size, size)) {
    if (qf::cut_page_tail({file, page_size, freed.page}, freed.old_content_from, region)) decode(region, options);
  }
  // Every page as a region of its own: rows that spill from anywhere.
  for (std::uint64_t page = 1; page <= chain.page_count; ++page) {
    if (qf::cut_page_tail({file, page_size, static_cast<std::uint32_t>(page)}, 0, region)) decode(region, options);
  }
  return 0;
}
