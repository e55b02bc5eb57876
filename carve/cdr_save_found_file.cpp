// Copying one found file out of the raw device.
//
// Raw disk handles only read whole sectors at sector offsets, so a file that
// starts inside a sector is begun with that one sector and continued in 1 MiB
// blocks from the next boundary. Each call owns its buffer and reads by
// position: the preview save thread and the recover run's export may copy two
// files from one disk at the same time without mixing their bytes.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "carve/cdr_info.h"
#include "carve/sha256.h"

namespace qf {
namespace {

constexpr std::uint64_t kSector = 512;
constexpr std::uint64_t kCopyBlock = 1048576;

struct copy_job {
  cdr_found_file* file;
  ReadHandle* source;
  save_callback progress;
  void* user_data;
  std::ofstream& out;
  Sha256* hash = nullptr;  // fed every piece written, when set
  std::uint64_t copied = 0;
};

// Hands one piece to the callback, then to the file. Returns kCarveAbort when
// the callback asked to stop, 0 on a write error, 1 otherwise.
int write_piece(copy_job& job, const unsigned char* bytes, std::uint64_t length) {
  if (job.progress &&
      job.progress(job.file->size, job.copied + length, job.file, job.user_data) == kCarveAbort) {
    return kCarveAbort;
  }
  job.out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(length));
  if (!job.out) return 0;
  if (job.hash) job.hash->update(bytes, static_cast<std::size_t>(length));
  job.copied += length;
  return 1;
}

int copy_bytes(copy_job& job) {
  std::vector<unsigned char> buffer(kCopyBlock);
  const std::uint64_t size = job.file->size;
  std::uint64_t position = job.file->offset;
  if (position % kSector != 0 && size > 0) {
    const std::uint64_t sector_start = position - position % kSector;
    const std::int64_t got = read_at(job.source, sector_start, buffer.data(), kSector);
    const std::uint64_t skip = position - sector_start;
    if (got <= 0 || static_cast<std::uint64_t>(got) <= skip) return 0;
    const std::uint64_t take = std::min(static_cast<std::uint64_t>(got) - skip, size);
    const int r = write_piece(job, buffer.data() + skip, take);
    if (r != 1) return r;
    position = sector_start + kSector;
  }
  while (job.copied < size) {
    const std::uint64_t remaining = size - job.copied;
    // The last piece is read as whole sectors too, so a raw disk never sees a
    // read that ends inside a sector.
    const std::uint64_t want = std::min(kCopyBlock, (remaining + kSector - 1) / kSector * kSector);
    const std::int64_t got = read_at(job.source, position, buffer.data(), static_cast<std::size_t>(want));
    if (got <= 0) return 0;
    const std::uint64_t take = std::min(static_cast<std::uint64_t>(got), remaining);
    const int r = write_piece(job, buffer.data(), take);
    if (r != 1) return r;
    position += static_cast<std::uint64_t>(got);
  }
  return 1;
}

int save_copy(cdr_found_file* file, const std::string& out_path, ReadHandle* source, save_callback scan_func,
              void* user_data, Sha256* hash) {
  if (!file || !source) return 0;
  std::ofstream out(std::filesystem::u8path(out_path), std::ios::binary | std::ios::trunc);
  if (!out) return 0;
  copy_job job{file, source, scan_func, user_data, out, hash};
  const int result = copy_bytes(job);
  out.close();
  if (result == 1 && !out) return 0;  // the last bytes did not reach the disk
  return result;
}

}  // namespace

int cdr_save_found_file(cdr_info_win*, cdr_found_file* file, const std::string& out_path,
                        ReadHandle* partition_holder, save_callback scan_func, void* user_data) {
  return save_copy(file, out_path, partition_holder, scan_func, user_data, nullptr);
}

int cdr_save_found_file_digest(cdr_found_file* file, const std::string& out_path, ReadHandle* partition_holder,
                               save_callback scan_func, void* user_data, std::string& sha256) {
  Sha256 hash;
  const int result = save_copy(file, out_path, partition_holder, scan_func, user_data, &hash);
  sha256 = result == 1 ? hash.hex_digest() : std::string();
  return result;
}

}  // namespace qf
