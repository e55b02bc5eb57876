// Carving throughput: the scan of a 512 MiB card image with the fourteen "all"
// types in quick mode (the session's scan), against a plain sequential read of
// the same image in chunks of the same size. The image is made once under the
// build folder and read once before timing, so both runs read from the page
// cache and the ratio shows what the search itself costs.
//
// The image is mostly pseudo-random bytes (as compressed pictures and video
// look on a card), with stretches of zeros, and the small real files of
// tests/carve/data placed on sector boundaries, one every MiB or so.
//
// Counters: MB/s of each run (bytes_per_second), and for the scan
//   vs_plain_read  scan rate / plain-read rate of this run
//   files          files the scan recorded
//   peak_heap_MiB  the most heap memory live at once during a scan
//   chunk_MiB      the read chunk
//   read_MiB       bytes the scan read, re-reads of files at chunk ends included
//   max_rss_MiB    the process's peak resident memory so far
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "carve/carve_state.h"
#include "carve/cdr_info.h"
#include "carve/cdr_node.h"
#include "carve/scan_loop.h"
#include "carve/type_selection.h"
#include "platform/read_handle.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/test_paths.h"

// Heap accounting for the whole process: every allocation carries its size
// in front of it, so the live total and its peak are known at any moment.
namespace {
std::atomic<std::uint64_t> g_live{0};
std::atomic<std::uint64_t> g_peak{0};
constexpr std::size_t kHead = 16;  // keeps the alignment new promises

void* counted_alloc(std::size_t size) {
  void* raw = std::malloc(size + kHead);
  if (!raw) return nullptr;
  *static_cast<std::size_t*>(raw) = size;
  const std::uint64_t now = g_live.fetch_add(size) + size;
  std::uint64_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(raw) + kHead;
}

void counted_free(void* p) {
  if (!p) return;
  void* raw = static_cast<char*>(p) - kHead;
  g_live.fetch_sub(*static_cast<std::size_t*>(raw));
  std::free(raw);
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* p = counted_alloc(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void operator delete(void* p) noexcept { counted_free(p); }
void operator delete[](void* p) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_free(p); }

namespace {

constexpr std::uint64_t kMiB = 1048576;
constexpr std::uint64_t kImageSize = 512 * kMiB;
constexpr std::uint64_t kSector = 512;
constexpr int kChunkMib = 4;  // the engine's default chunk

// The files placed into the image, read from the test data.
std::vector<std::vector<unsigned char>> real_files() {
  std::vector<std::vector<unsigned char>> files;
  for (const char* name : {"photo_jfif.jpg", "photo_exif_thumb.jpg", "still_87a.gif", "animated_89a.gif",
                           "picture.bmp", "picture.png", "program.mpg", "movie_faststart.mov", "clip.avi",
                           "tone.wav", "clip.wmv"}) {
    auto bytes = qf::test::read_file(qf::test::source_dir() + "/tests/carve/data/" + name);
    if (!bytes.empty()) files.push_back(std::move(bytes));
  }
  return files;
}

std::uint64_t next_random(std::uint64_t& x) {
  x ^= x << 13;
  x ^= x >> 7;
  x ^= x << 17;
  return x;
}

// Writes the image one MiB at a time: random bytes, one MiB in 32 zeroed,
// and one real file at a random sector of every MiB.
bool write_image(const std::string& path) {
  const auto files = real_files();
  if (files.empty()) return false;
  std::ofstream out(path + ".part", std::ios::binary | std::ios::trunc);
  std::vector<unsigned char> mib(kMiB + 64 * 1024);  // room for a file that crosses into the next MiB
  std::uint64_t x = 0x9E3779B97F4A7C15ull;
  std::vector<unsigned char> carry;
  for (std::uint64_t i = 0; i < kImageSize / kMiB; ++i) {
    const bool zeros = next_random(x) % 32 == 0;
    for (std::size_t k = 0; k < kMiB; k += 8) {
      const std::uint64_t r = zeros ? 0 : next_random(x);
      std::copy_n(reinterpret_cast<const unsigned char*>(&r), 8, mib.data() + k);
    }
    std::copy(carry.begin(), carry.end(), mib.begin());
    const auto& file = files[i % files.size()];
    const std::uint64_t at = next_random(x) % (kMiB / kSector) * kSector;
    std::copy(file.begin(), file.end(), mib.begin() + static_cast<std::ptrdiff_t>(at));
    const std::uint64_t end = at + file.size();
    carry.assign(mib.begin() + kMiB, mib.begin() + static_cast<std::ptrdiff_t>(std::max(end, kMiB)));
    out.write(reinterpret_cast<const char*>(mib.data()), static_cast<std::streamsize>(kMiB));
  }
  out.close();
  if (!out) return false;
  std::error_code ec;
  std::filesystem::rename(path + ".part", path, ec);
  return !ec;
}

// The image, made when missing, and read through once so that it sits in the
// page cache before anything is timed.
const std::string& image_path() {
  static const std::string path = [] {
    const std::string p = qf::test::binary_dir() + "/carve-scan-bench-v1.img";
    std::error_code ec;
    if (std::filesystem::file_size(p, ec) != kImageSize && !write_image(p)) return std::string();
    qf::ReadHandle* handle = qf::open_read_handle(p);
    std::vector<unsigned char> buffer(kChunkMib * kMiB);
    for (std::uint64_t at = 0; qf::read_at(handle, at, buffer.data(), buffer.size()) > 0; at += buffer.size()) {
    }
    qf::close_read_handle(handle);
    return p;
  }();
  return path;
}

double g_plain_read_rate = 0;  // bytes per second of the last plain-read run

double rate(benchmark::State& state, std::uint64_t bytes_per_iteration, double seconds) {
  return seconds > 0 ? static_cast<double>(bytes_per_iteration) * static_cast<double>(state.iterations()) / seconds : 0;
}

double max_rss_mib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_PlainRead(benchmark::State& state) {
  const std::string& path = image_path();
  if (path.empty()) return state.SkipWithError("the bench image could not be made");
  qf::ReadHandle* handle = qf::open_read_handle(path);
  std::unique_ptr<unsigned char[]> chunk(new unsigned char[kChunkMib * kMiB + qf::kChunkSpare]());
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t at = 0;
    for (std::int64_t got; (got = qf::read_at(handle, at, chunk.get(), kChunkMib * kMiB)) > 0;) {
      benchmark::DoNotOptimize(chunk[0]);
      at += static_cast<std::uint64_t>(got);
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (at != kImageSize) state.SkipWithError("short read of the bench image");
  }
  qf::close_read_handle(handle);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kImageSize));
  g_plain_read_rate = rate(state, kImageSize, seconds);
  state.counters["chunk_MiB"] = kChunkMib;
}

// The session's callback does about this much per call: a look at the run
// state, and a percentage for the progress bar.
std::atomic<int> g_run_state{0};
struct scan_progress {
  int highest_percent = 0;
  int files = 0;
};

int progress(std::uint64_t total, std::uint64_t done, qf::cdr_found_file* file, void* user) {
  auto& p = *static_cast<scan_progress*>(user);
  if (g_run_state.load() == 3) return qf::kCarveAbort;
  if (file) ++p.files;
  if (total != 0 && done != 0) {
    const int percent = static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
    if (percent > p.highest_percent) p.highest_percent = percent;
  }
  return 0;
}

void BM_ScanAllTypesQuick(benchmark::State& state) {
  const std::string& path = image_path();
  if (path.empty()) return state.SkipWithError("the bench image could not be made");
  qf::set_scan_marks(nullptr);
  qf::ReadHandle* handle = qf::open_read_handle(path);
  std::uint64_t bytes_read = 0;
  qf::input_range input;
  input.path = path;
  input.read = [handle, &bytes_read](std::uint64_t offset, void* buffer, std::size_t length) {
    const std::int64_t got = qf::read_at(handle, offset, buffer, length);
    if (got > 0) bytes_read += static_cast<std::uint64_t>(got);
    return got;
  };
  input.input_start = 0;
  input.input_length = kImageSize;
  input.device_size = kImageSize;

  double seconds = 0;
  std::uint64_t peak_heap = 0;
  int files = 0;
  for (auto _ : state) {
    qf::carve_state carve;
    qf::init_carve_state(carve);
    qf::cdr_node disk;
    carve.partition = &disk;
    carve.mode = qf::kModeQuick;
    carve.chunk_mib = kChunkMib;
    carve.input_length = kImageSize;
    scan_progress progress_seen;
    carve.progress = &progress;
    carve.user_data = &progress_seen;
    qf::select_type_name(carve, "all");
    bytes_read = 0;
    const std::uint64_t live_before = g_live.load();
    g_peak.store(live_before);

    const auto start = std::chrono::steady_clock::now();
    qf::scan_input_range(carve, input);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    peak_heap = std::max(peak_heap, g_peak.load() - live_before);
    files = carve.files_found;
    qf::cdr_clear_children(nullptr, &disk);
  }
  qf::close_read_handle(handle);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kImageSize));
  const double scan_rate = rate(state, kImageSize, seconds);
  if (g_plain_read_rate > 0) state.counters["vs_plain_read"] = scan_rate / g_plain_read_rate;
  state.counters["files"] = files;
  state.counters["peak_heap_MiB"] = static_cast<double>(peak_heap) / kMiB;
  state.counters["chunk_MiB"] = kChunkMib;
  state.counters["read_MiB"] = static_cast<double>(bytes_read) / kMiB;
  state.counters["max_rss_MiB"] = max_rss_mib();
}

// Plain read first: the scan's ratio is taken against it.
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ScanAllTypesQuick)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
