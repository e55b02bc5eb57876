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

// The options of one region: its place in the file.
CandidateOptions region_options(CandidateOptions options, const ScanContext& context, const TableScan& scan,
                                const ScanRegion& region) {
  options.source.file = region.wal_frame != 0 ? SourceFile::wal
                        : region.from_journal  ? SourceFile::journal
                                               : context.file;
  options.source.wal_frame = region.wal_frame;
  options.source.kind = region.kind;
  options.source.page = region.page;
  options.source.offset = static_cast<std::uint32_t>(region.file_offset);
  if (region.kind == SourceKind::stale_page) options.read_overflow = stale_overflow_reader(scan, region);
  return options;
}

}  // namespace

void ScanDatabaseCopy(const std::string& utf8_path, ContactTable& output, const MimetypeNameTable& mimetypes,
                      const CandidateRules& rules, const ScanContext& context) {
  TableScan scan;
  if (!start_scan(scan, utf8_path, ProbeContactsTable, rules)) return;
  CandidateOptions options;
  options.rules = rules;
  options.record_lengths = scan.record_lengths;
  options.read_overflow = overflow_reader(scan);
  options.usable_size = scan.usable_size;
  options.reported_value = context.reported_value;
  for_each_region(scan, FreeblockCut::contacts, 0, [&](const ScanRegion& region) {
    ContactCandidate(region.buffer.data(), region.length, scan.layout, output, mimetypes,
                     region_options(options, context, scan, region));
  }, context.stop);
}

void ScanDatabaseCopy(const std::string& utf8_path, ConversationTable& output, const CandidateRules& rules,
                      const ScanContext& context) {
  TableScan scan;
  if (!start_scan(scan, utf8_path, ProbeSmsTable, rules)) return;
  CandidateOptions options;
  options.rules = rules;
  options.record_lengths = scan.record_lengths;
  options.read_overflow = overflow_reader(scan);
  options.usable_size = scan.usable_size;
  // An sms region no longer than the column count cannot hold a row header.
  const auto min_length = static_cast<std::size_t>(scan.layout.column_count);
  for_each_region(scan, FreeblockCut::sms, min_length, [&](const ScanRegion& region) {
    MessageCandidate(region.buffer.data(), region.length, scan.layout, output,
                     region_options(options, context, scan, region));
  }, context.stop);
}

}  // namespace qf
