// Reading file bytes for an extractor that needs more than its chunk holds.
#include <cstdio>
#include <new>

#include "carve/scan_loop.h"
#include "platform/read_handle.h"

namespace qf {
namespace {

constexpr std::uint64_t kSector = 512;
constexpr std::uint64_t kPiece = 8 * 1048576;  // one read call at most this long

std::uint64_t round_up(std::uint64_t v, std::uint64_t unit) { return (v + unit - 1) / unit * unit; }

// Fills `length` bytes at `offset`, piece by piece; returns the bytes obtained
// before the device ended or a read failed.
std::uint64_t read_sectors(const input_range& input, std::uint64_t offset, unsigned char* out,
                           std::uint64_t length) {
  std::uint64_t done = 0;
  while (done < length) {
    const std::uint64_t piece = length - done < kPiece ? length - done : kPiece;
    const std::int64_t got = input.read(offset + done, out + done, static_cast<std::size_t>(piece));
    if (got <= 0) break;
    done += static_cast<std::uint64_t>(got);
    if (static_cast<std::uint64_t>(got) < piece) break;  // the device ends inside this piece
  }
  return done;
}

}  // namespace

device_reader handle_reader(ReadHandle* handle) {
  return [handle](std::uint64_t offset, void* buffer, std::size_t length) {
    return read_at(handle, offset, buffer, length);
  };
}

disk_bytes read_from_disk(const input_range& input, std::uint64_t offset, std::uint64_t length) {
  disk_bytes result;
  if (input.device_size != 0) {
    if (offset >= input.device_size) return result;
    if (length > input.device_size - offset) length = input.device_size - offset;
  }
  if (length == 0 || !input.read) return result;
  // Raw devices read whole sectors only: start at the sector holding `offset`
  // and end on a sector boundary.
  const std::uint64_t first = offset / kSector * kSector;
  const std::uint64_t lead = offset - first;
  const std::uint64_t span = round_up(lead + length, kSector);
  result.storage.reset(new (std::nothrow) unsigned char[span + kSector]);
  if (!result.storage) {
    std::fputs("Ran out of memory in read_from_disk()\n", stderr);
    return result;
  }
  const std::uint64_t got = read_sectors(input, first, result.storage.get(), span);
  if (got <= lead) {
    result.storage.reset();
    return result;
  }
  result.data = result.storage.get() + lead;
  result.length = got - lead < length ? got - lead : length;
  return result;
}

}  // namespace qf
