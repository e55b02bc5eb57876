// Time of a full record load (both library passes and both scans of each
// database) on the files where deleted rows live on modern phones:
//   WalFrames: an mmssms.db whose -wal holds about 1,000 frames (4 MiB),
//     every frame a commit that added or removed messages;
//   FreelistPages: an mmssms.db of about 50 MB with 10,000 pages on its
//     freelist (a long run of messages deleted);
//   DamagedRoot: that database with the sms table's root page garbled, so
//     SQLite gives no row and our own page reader reads every leaf page.
// One iteration: the first load of a pulled copy is the one a user waits for.
// Peak memory: the process's peak resident size is reported as a counter;
// run one benchmark per process (--benchmark_filter) to read it per case.
// Run: build/native/bench/records_load_bench
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "records/record_loader.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace {

using qf::fixtures::FixtureOptions;
using qf::fixtures::MessagesFixture;

std::uintmax_t file_size(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(std::filesystem::u8path(path), ec);
  return ec ? 0 : size;
}

// A work folder laid out as the pull leaves it (contacts/ stays empty).
struct PhoneFolder {
  qf::test::TempDir dir{"qf-load-bench"};
  std::string messages = dir.file("messages/mmssms.db");
  std::string backup = dir.file("messages/bak/mmssms.db");
  bool ok = false;

  PhoneFolder() {
    std::filesystem::create_directories(dir.path() / "messages" / "bak");
    std::filesystem::create_directories(dir.path() / "contacts" / "bak");
  }
  void take_backup() {
    ok = std::filesystem::copy_file(std::filesystem::u8path(messages), std::filesystem::u8path(backup));
  }
};

// 1,000 small commits after a checkpoint: each adds a few messages or removes
// one, and the -wal keeps every frame.
PhoneFolder& wal_folder() {
  static PhoneFolder folder;
  static bool written = [] {
    FixtureOptions options;
    options.wal = true;
    options.keep_wal = true;
    auto db = MessagesFixture::create(folder.messages, options);
    if (!db || !db->add_generated_messages(4000, 40) || !db->checkpoint()) return false;
    for (int commit = 0; file_size(folder.messages + "-wal") < 4u * 1024 * 1024; ++commit) {
      const bool ok = commit % 4 == 3 ? db->delete_message(1 + commit * 3)
                                      : db->add_generated_messages(3, 40);
      if (!ok) return false;
    }
    db->close();
    return true;
  }();
  if (written && !folder.ok) folder.take_backup();
  return folder;
}

PhoneFolder& freelist_folder() {
  static PhoneFolder folder;
  static bool written = [] {
    FixtureOptions options;
    options.page_size = 1024;
    auto db = MessagesFixture::create(folder.messages, options);
    if (!db) return false;
    while (file_size(folder.messages) < 50u * 1000 * 1000) {
      if (!db->add_generated_messages(20000, 200)) return false;
    }
    // About 8 messages fill a 1 KiB page: 80,000 in a row free 10,000 pages.
    return db->exec("DELETE FROM sms WHERE _id BETWEEN 100000 AND 180000") && db->close();
  }();
  if (written && !folder.ok) folder.take_backup();
  return folder;
}

// The sms table is the first one created: its root is page 2.
PhoneFolder& damaged_root_folder() {
  static PhoneFolder folder;
  static bool written = [] {
    const PhoneFolder& source = freelist_folder();
    std::error_code ec;
    if (!source.ok || !std::filesystem::copy_file(std::filesystem::u8path(source.messages),
                                                  std::filesystem::u8path(folder.messages), ec)) {
      return false;
    }
    const std::string garbage(1024, '\xA5');
    std::fstream file(std::filesystem::u8path(folder.messages), std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(1024);
    return static_cast<bool>(file.write(garbage.data(), static_cast<std::streamsize>(garbage.size())));
  }();
  if (written && !folder.ok) folder.take_backup();
  return folder;
}

double peak_resident_mib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void run_load(benchmark::State& state, PhoneFolder& folder) {
  if (!folder.ok) return state.SkipWithError("could not write the databases");
  std::size_t live = 0, deleted = 0;
  for (auto _ : state) {
    qf::ContactTable contacts;
    qf::ConversationTable conversations;
    qf::ContactList contact_list;
    qf::ConversationList conversation_list;
    qf::test::RecordingSink sink;
    qf::RecordLoadJob job;
    job.contacts_db_path = folder.dir.file("contacts/contacts2.db");
    job.contacts_bak_path = folder.dir.file("contacts/bak/contacts2.db");
    job.messages_db_path = folder.messages;
    job.messages_bak_path = folder.backup;
    job.contacts = &contacts;
    job.conversations = &conversations;
    job.contact_list = &contact_list;
    job.conversation_list = &conversation_list;
    job.sink = &sink;
    qf::load_records_thread(job);
    live = deleted = 0;
    for (const auto& [key, c] : conversations) {
      for (const auto& m : c.messages) (m.deleted ? deleted : live) += 1;
    }
  }
  state.counters["live"] = static_cast<double>(live);
  state.counters["deleted"] = static_cast<double>(deleted);
  state.counters["peak_MiB"] = peak_resident_mib();
  state.counters["file_MB"] = static_cast<double>(file_size(folder.messages)) / 1e6;
  state.counters["wal_MiB"] = static_cast<double>(file_size(folder.messages + "-wal")) / (1024.0 * 1024.0);
}

void BM_FullLoadWalFrames(benchmark::State& state) { run_load(state, wal_folder()); }
void BM_FullLoadFreelistPages(benchmark::State& state) { run_load(state, freelist_folder()); }
void BM_FullLoadDamagedRoot(benchmark::State& state) { run_load(state, damaged_root_folder()); }

}  // namespace

BENCHMARK(BM_FullLoadWalFrames)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FullLoadFreelistPages)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FullLoadDamagedRoot)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
