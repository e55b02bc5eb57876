#include "records/scan_database_copy.h"

#include "records/contact_candidate.h"
#include "records/message_candidate.h"
#include "records/table_probe.h"
#include "records/table_scan.h"

namespace qf {
namespace {

using Probe = bool (*)(const std::string&, TableLayout&);

// Probes the copy and walks its table; false when the copy yields nothing.
bool start_scan(TableScan& scan, const std::string& utf8_path, Probe probe, const CandidateRules& rules) {
  scan.path = utf8_path;
  return probe(utf8_path, scan.layout) && prepare_table_scan(scan, rules.learned_record_lengths);
}

}  // namespace

void ScanDatabaseCopy(const std::string& utf8_path, ContactTable& output, const MimetypeNameTable& mimetypes,
                      const CandidateRules& rules) {
  TableScan scan;
  if (!start_scan(scan, utf8_path, ProbeContactsTable, rules)) return;
  const CandidateOptions options{rules, scan.record_lengths};
  for_each_region(scan, FreeblockCut::contacts, 0, [&](const ScanRegion& region) {
    ContactCandidate(region.buffer.data(), region.length, scan.layout, output, mimetypes, options);
  });
}

void ScanDatabaseCopy(const std::string& utf8_path, ConversationTable& output, const CandidateRules& rules) {
  TableScan scan;
  if (!start_scan(scan, utf8_path, ProbeSmsTable, rules)) return;
  const CandidateOptions options{rules, scan.record_lengths};
  // An sms region no longer than the column count cannot hold a row header.
  const auto min_length = static_cast<std::size_t>(scan.layout.column_count);
  for_each_region(scan, FreeblockCut::sms, min_length, [&](const ScanRegion& region) {
    MessageCandidate(region.buffer.data(), region.length, scan.layout, output, options);
  });
}

}  // namespace qf
