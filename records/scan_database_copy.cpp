#include "records/scan_database_copy.h"

#include "records/contact_candidate.h"
#include "records/message_candidate.h"
#include "records/scan_region.h"
#include "records/table_probe.h"
#include "records/table_scan.h"

namespace qf {
namespace {

using CutFreeblock = bool (*)(PageAt, std::uint16_t, ScanRegion&);

// Every freeblock region (pages ascending, each chain in chain order), then
// every page's gap, each region longer than `min_length` handed to `decode`.
// One buffer serves all regions.
template <class Decode>
void decode_regions(const TableScan& scan, CutFreeblock cut_freeblock, std::size_t min_length, Decode&& decode) {
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
}

}  // namespace

void ScanDatabaseCopy(const std::string& utf8_path, ContactTable& output, const MimetypeNameTable& mimetypes,
                      const CandidateRules& rules) {
  TableScan scan;
  scan.path = utf8_path;
  if (!ProbeContactsTable(utf8_path, scan.layout)) return;
  if (!prepare_table_scan(scan, rules.learned_record_lengths)) return;
  const CandidateOptions options{rules, scan.record_lengths};
  decode_regions(scan, cut_contacts_freeblock_region, 0, [&](const ScanRegion& region) {
    ContactCandidate(region.buffer.data(), region.length, scan.layout, output, mimetypes, options);
  });
}

void ScanDatabaseCopy(const std::string& utf8_path, ConversationTable& output, const CandidateRules& rules) {
  TableScan scan;
  scan.path = utf8_path;
  if (!ProbeSmsTable(utf8_path, scan.layout)) return;
  if (!prepare_table_scan(scan, rules.learned_record_lengths)) return;
  const CandidateOptions options{rules, scan.record_lengths};
  // An sms region no longer than the column count cannot hold a row header.
  const auto min_length = static_cast<std::size_t>(scan.layout.column_count);
  decode_regions(scan, cut_sms_freeblock_region, min_length, [&](const ScanRegion& region) {
    MessageCandidate(region.buffer.data(), region.length, scan.layout, output, options);
  });
}

}  // namespace qf
