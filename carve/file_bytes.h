#pragma once
// The bytes of one file being delimited: those the extractor was handed in
// memory, and past them the device itself, read a small window at a time into
// one reused buffer. Size arithmetic (box sizes, packet lengths, table
// offsets) can so follow a file of any length without holding it.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace qf {

struct carve_state;

class file_bytes {
 public:
  // The file starts at s, with R bytes held from s on; s lies at absolute
  // device offset `start`. Past R the bytes come from state.device, when set.
  file_bytes(const carve_state& state, const unsigned char* s, std::uint64_t R, std::uint64_t start);

  // The bytes of a file that starts `lead` bytes before s (s at device offset
  // base + m, m bytes held before it): a box or atom whose size precedes the
  // matched type. Those bytes come from the device when m < lead.
  static file_bytes starting_before(const carve_state& state, const unsigned char* s, std::uint64_t m,
                                    std::uint64_t R, std::uint64_t base, std::uint64_t lead) {
    return m >= lead ? file_bytes(state, s - lead, R + lead, base + m - lead)
                     : file_bytes(state, nullptr, 0, base + m - lead);
  }

  // `count` bytes (at most kMaxRead) at file offset `at`, or null when the
  // data and the device end before them. The pointer stays valid until the
  // next call.
  const unsigned char* at(std::uint64_t offset, std::size_t count);

  // Up to `count` bytes (at most kMaxRead) at `offset`, fewer where the data
  // and the device end; `got` says how many. Null when there is none.
  const unsigned char* up_to(std::uint64_t offset, std::size_t count, std::size_t& got);

  // File offset of the first occurrence of `pattern` (compared exactly)
  // starting within [from, from + span), wholly inside the file's bytes; or
  // kNotFound.
  std::uint64_t find(std::uint64_t from, std::uint64_t span, const unsigned char* pattern, std::size_t length);
  static constexpr std::uint64_t kNotFound = ~0ull;

  // True when the file's first `length` bytes are all there: held, or on the
  // device. A size field never makes a file reach past the device's end.
  bool holds(std::uint64_t length) { return length == 0 || at(length - 1, 1) != nullptr; }

  // The largest n <= length for which holds(n).
  std::uint64_t held_up_to(std::uint64_t length) {
    std::uint64_t low = 0, high = length;
    while (low < high) {
      const std::uint64_t mid = low + (high - low + 1) / 2;
      if (holds(mid)) {
        low = mid;
      } else {
        high = mid - 1;
      }
    }
    return low;
  }

  // Bytes held in memory from s.
  std::uint64_t held() const { return R_; }

  static constexpr std::size_t kMaxRead = 4096;

 private:
  const carve_state& state_;
  const unsigned char* s_;
  std::uint64_t R_;
  std::uint64_t start_;
  std::unique_ptr<unsigned char[]> window_;
  std::uint64_t window_at_ = 0;  // absolute device offset of window_[0]
  std::uint64_t window_len_ = 0;
};

}  // namespace qf
