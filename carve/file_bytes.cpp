#include "carve/file_bytes.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/scan_loop.h"

namespace qf {
namespace {

constexpr std::uint64_t kSector = 512;
constexpr std::uint64_t kWindow = 64 * 1024;  // whole sectors, as raw devices read

}  // namespace

file_bytes::file_bytes(const carve_state& state, const unsigned char* s, std::uint64_t R, std::uint64_t start)
    : state_(state), s_(s), R_(R), start_(start) {}

const unsigned char* file_bytes::at(std::uint64_t offset, std::size_t count) {
  if (count > kMaxRead) return nullptr;
  if (has_bytes(R_, offset, count)) return s_ + offset;
  const input_range* device = state_.device;
  if (!device || !device->read || offset > ~0ull - start_ - count) return nullptr;
  const std::uint64_t absolute = start_ + offset;
  if (absolute >= window_at_ && absolute - window_at_ + count <= window_len_) {
    return window_.get() + (absolute - window_at_);
  }
  if (device->device_size != 0 && absolute + count > device->device_size) return nullptr;
  if (!window_) {
    window_.reset(new (std::nothrow) unsigned char[kWindow]);
    if (!window_) return nullptr;
  }
  window_at_ = absolute / kSector * kSector;
  const std::int64_t got = device->read(window_at_, window_.get(), kWindow);
  window_len_ = got > 0 ? static_cast<std::uint64_t>(got) : 0;
  if (absolute - window_at_ + count > window_len_) return nullptr;
  return window_.get() + (absolute - window_at_);
}

const unsigned char* file_bytes::up_to(std::uint64_t offset, std::size_t count, std::size_t& got) {
  got = 0;
  if (count > kMaxRead) count = kMaxRead;
  // Where the data and the device end, halve the request until it fits.
  for (std::size_t n = count; n > 0; n /= 2) {
    if (const unsigned char* p = at(offset, n)) {
      got = n;
      return p;
    }
  }
  return nullptr;
}

std::uint64_t file_bytes::find(std::uint64_t from, std::uint64_t span, const unsigned char* pattern,
                               std::size_t length) {
  if (length == 0 || length > kMaxRead / 2) return kNotFound;
  const std::uint64_t last_start = span > ~0ull - from ? ~0ull : from + span;  // starts before this
  std::uint64_t at_offset = from;
  while (at_offset < last_start) {
    std::size_t got = 0;
    const unsigned char* p = up_to(at_offset, kMaxRead, got);
    if (!p || got < length) return kNotFound;
    // Starts tested in this piece: those whose whole pattern lies in it.
    const std::uint64_t starts = std::min<std::uint64_t>(got - length + 1, last_start - at_offset);
    const unsigned char* end = p + starts + length - 1;
    const unsigned char* hit = std::search(p, end, pattern, pattern + length);
    if (hit != end && static_cast<std::uint64_t>(hit - p) < starts) return at_offset + static_cast<std::uint64_t>(hit - p);
    at_offset += starts;
  }
  return kNotFound;
}

}  // namespace qf
