// Copying found files out of an image: throughput of cdr_save_found_file for
// an aligned and an unaligned start, of the copy that hashes while it writes
// (what the carve command does), and of SHA-256 for the manifest.
#include <benchmark/benchmark.h>

#include <vector>

#include "carve/cdr_info.h"
#include "carve/sha256.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"

namespace {

void BM_SaveFoundFile(benchmark::State& state) {
  qf::test::TempDir dir("qf-bench");
  const std::string image = dir.file("card.img");
  qf::test::write_file(image, qf::test::patterned_bytes(64 * 1048576));
  qf::cdr_node* disk = qf::cdr_open_image(nullptr, nullptr, image);
  qf::cdr_found_file file;
  file.offset = static_cast<std::uint64_t>(state.range(0));
  file.size = 32 * 1048576;
  for (auto _ : state) {
    qf::cdr_save_found_file(nullptr, &file, dir.file("out.bin"), disk->save_handle, nullptr, nullptr);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
  qf::cdr_free_tree(nullptr, disk);
}
BENCHMARK(BM_SaveFoundFile)->Arg(1048576)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SaveFoundFileWithDigest(benchmark::State& state) {
  qf::test::TempDir dir("qf-bench");
  const std::string image = dir.file("card.img");
  qf::test::write_file(image, qf::test::patterned_bytes(64 * 1048576));
  qf::cdr_node* disk = qf::cdr_open_image(nullptr, nullptr, image);
  qf::cdr_found_file file;
  file.offset = 1048576;
  file.size = 32 * 1048576;
  std::string digest;
  for (auto _ : state) {
    qf::cdr_save_found_file_digest(&file, dir.file("out.bin"), disk->save_handle, nullptr, nullptr, digest);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
  qf::cdr_free_tree(nullptr, disk);
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
