// Speed of the deleted-record scan.
//   Decoders: MB/s over 64 KiB regions of random bytes and of real freed
//   space (the freeblocks and gaps of a database with many deletions).
//   ScanDatabaseCopy: a whole contacts2.db and mmssms.db of about 50 MB each,
//   a tenth of their rows deleted.
// The databases are written once per run by make-fixtures into a temporary
// folder and removed at exit. Run: build/native/bench/records_scan_bench
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "records/contact_candidate.h"
#include "records/message_candidate.h"
#include "records/scan_database_copy.h"
#include "records/table_probe.h"
#include "records/table_scan.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace {

constexpr std::size_t kRegion = 65535;

// The 50 MB databases, written on first use.
struct BulkDatabases {
  qf::test::TempDir dir{"qf-scan-bench"};
  bool ok = false;
  std::string contacts = dir.file("contacts2.db");
  std::string messages = dir.file("mmssms.db");

  BulkDatabases() {
    const std::string command = qf::test::built_program("tools/fixtures/make-fixtures") +
                                " --generation android6 --bulk-mb 50 '" + dir.path().string() + "' >/dev/null";
    ok = std::system(command.c_str()) == 0;
  }
};

BulkDatabases& bulk() {
  static BulkDatabases databases;
  return databases;
}

qf::MimetypeNameTable phone_mimetypes() {
  return {{1, "vnd.android.cursor.item/email_v2"}, {5, "vnd.android.cursor.item/phone_v2"},
          {7, "vnd.android.cursor.item/name"}, {11, "vnd.android.cursor.item/note"}};
}

std::vector<std::uint8_t> random_region() {
  std::mt19937 random(12345);
  std::vector<std::uint8_t> bytes(kRegion);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

// The freed space of a real copy, regions laid end to end up to 64 KiB.
std::vector<std::uint8_t> freed_region(const std::string& path, bool sms, qf::TableLayout& layout) {
  qf::TableScan scan;
  scan.path = path;
  std::vector<std::uint8_t> bytes;
  if (!(sms ? qf::ProbeSmsTable(path, scan.layout) : qf::ProbeContactsTable(path, scan.layout)) ||
      !qf::prepare_table_scan(scan, false)) {
    return bytes;
  }
  layout = scan.layout;
  qf::for_each_region(scan, sms ? qf::FreeblockCut::sms : qf::FreeblockCut::contacts, 0,
                      [&](const qf::ScanRegion& r) {
                        const std::size_t take = std::min(r.length, kRegion - bytes.size());
                        bytes.insert(bytes.end(), r.buffer.begin(), r.buffer.begin() + static_cast<std::ptrdiff_t>(take));
                      });
  return bytes;
}

qf::TableLayout android6_data_layout() {
  qf::TableLayout layout;
  layout.column_count = 32;
  layout.raw_contact_id_column = 3;
  layout.data1_column = 9;
  layout.text_columns.assign(32, true);
  for (int c = 0; c < 9; ++c) layout.text_columns[static_cast<std::size_t>(c)] = c == 4;
  return layout;
}

qf::TableLayout android6_sms_layout() {
  qf::TableLayout layout;
  layout.column_count = 19;
  layout.thread_id_column = 1;
  layout.address_column = 2;
  layout.date_column = 4;
  layout.type_column = 9;
  layout.body_column = 12;
  return layout;
}

void run_contacts(benchmark::State& state, const std::vector<std::uint8_t>& region, const qf::TableLayout& layout) {
  const qf::MimetypeNameTable mimetypes = phone_mimetypes();
  for (auto _ : state) {
    qf::ContactTable table;
    qf::ContactCandidate(region.data(), region.size(), layout, table, mimetypes);
    benchmark::DoNotOptimize(table);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * region.size()));
}

void run_messages(benchmark::State& state, const std::vector<std::uint8_t>& region, const qf::TableLayout& layout) {
  for (auto _ : state) {
    qf::ConversationTable table;
    qf::MessageCandidate(region.data(), region.size(), layout, table);
    benchmark::DoNotOptimize(table);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * region.size()));
}

void BM_ContactCandidateRandomBytes(benchmark::State& state) {
  run_contacts(state, random_region(), android6_data_layout());
}

void BM_MessageCandidateRandomBytes(benchmark::State& state) {
  run_messages(state, random_region(), android6_sms_layout());
}

void BM_ContactCandidateFreedSpace(benchmark::State& state) {
  qf::TableLayout layout;
  const std::vector<std::uint8_t> region = bulk().ok ? freed_region(bulk().contacts, false, layout) : std::vector<std::uint8_t>{};
  if (region.empty()) return state.SkipWithError("no contacts database (make-fixtures missing?)");
  run_contacts(state, region, layout);
}

void BM_MessageCandidateFreedSpace(benchmark::State& state) {
  qf::TableLayout layout;
  const std::vector<std::uint8_t> region = bulk().ok ? freed_region(bulk().messages, true, layout) : std::vector<std::uint8_t>{};
  if (region.empty()) return state.SkipWithError("no sms database (make-fixtures missing?)");
  run_messages(state, region, layout);
}

void BM_ScanDatabaseCopyContacts50MB(benchmark::State& state) {
  if (!bulk().ok) return state.SkipWithError("no contacts database (make-fixtures missing?)");
  const qf::MimetypeNameTable mimetypes = phone_mimetypes();
  std::size_t found = 0;
  for (auto _ : state) {
    qf::ContactTable table;
    qf::ScanDatabaseCopy(bulk().contacts, table, mimetypes);
    found = table.size();
  }
  state.counters["contacts"] = static_cast<double>(found);
}

void BM_ScanDatabaseCopySms50MB(benchmark::State& state) {
  if (!bulk().ok) return state.SkipWithError("no sms database (make-fixtures missing?)");
  std::size_t found = 0;
  for (auto _ : state) {
    qf::ConversationTable table;
    qf::ScanDatabaseCopy(bulk().messages, table);
    found = 0;
    for (const auto& entry : table) found += entry.second.messages.size();
  }
  state.counters["messages"] = static_cast<double>(found);
}

}  // namespace

BENCHMARK(BM_ContactCandidateRandomBytes);
BENCHMARK(BM_MessageCandidateRandomBytes);
BENCHMARK(BM_ContactCandidateFreedSpace);
BENCHMARK(BM_MessageCandidateFreedSpace);
BENCHMARK(BM_ScanDatabaseCopyContacts50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanDatabaseCopySms50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
