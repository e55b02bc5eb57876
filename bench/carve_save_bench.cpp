// Copying found files out of an image: throughput of cdr_save_found_file for
// an aligned and an unaligned start, of the copy that hashes while it writes
// (a found file copied from the device after the scan; the carve command takes
// the bytes from the scan's own chunks instead), and of SHA-256 for the
// manifest.
#include <benchmark/benchmark.h>

#include <vector>

#include "carve/cdr_info.h"
#include "carve/sha256.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"

namespace {

// A 64 MiB card image and one 32 MiB found file on it at `offset`.
struct saved_card {
  explicit saved_card(std::uint64_t offset) : dir("qf-bench") {
    const std::string image = dir.file("card.img");
    qf::test::write_file(image, qf::test::patterned_bytes(64 * 1048576));
    disk = qf::cdr_open_image(nullptr, nullptr, image);
    file.offset = offset;
    file.size = 32 * 1048576;
  }
  ~saved_card() { qf::cdr_free_tree(nullptr, disk); }
  qf::test::TempDir dir;
  qf::cdr_node* disk = nullptr;
  qf::cdr_found_file file;
};

void BM_SaveFoundFile(benchmark::State& state) {
  saved_card card(static_cast<std::uint64_t>(state.range(0)));
  for (auto _ : state) {
    qf::cdr_save_found_file(nullptr, &card.file, card.dir.file("out.bin"), card.disk->save_handle, nullptr, nullptr);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * card.file.size));
}
BENCHMARK(BM_SaveFoundFile)->Arg(1048576)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SaveFoundFileWithDigest(benchmark::State& state) {
  saved_card card(1048576);
  std::string digest;
  for (auto _ : state) {
    qf::cdr_save_found_file_digest(&card.file, card.dir.file("out.bin"), card.disk->save_handle, nullptr, nullptr,
                                   digest);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * card.file.size));
}
BENCHMARK(BM_SaveFoundFileWithDigest)->Unit(benchmark::kMillisecond);

void BM_Sha256(benchmark::State& state) {
  const auto bytes = qf::test::patterned_bytes(8 * 1048576);
  for (auto _ : state) {
    qf::Sha256 h;
    h.update(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(h.hex_digest());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Sha256)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
