#pragma once
// Quick mode tests a header only at block starts. Rather than compare every
// type's header at every block start, one pass over the chunk marks, per live
// type, the block starts whose first two bytes can begin its header; the
// search of each type then visits only those. A block start left unmarked
// cannot match, so the search finds exactly the headers the block-by-block
// test would find. A QuickTime header is an atom type that stands 4 bytes
// after the file start (behind the atom size), so for those types the bytes
// tested are the ones 4 bytes into each block: a movie starts at a block
// start like every other file.
#include <cstdint>
#include <vector>

namespace qf {

struct type_spec;

class quick_candidates {
 public:
  // Learns the headers of the first `type_count` entries of `types`; block
  // starts lie at multiples of `block` from a chunk's start. Once per scan.
  void prepare(const type_spec* types, int type_count, std::uint64_t block);

  // Marks the block starts of the `n` bytes at `chunk` for every prepared
  // type. Reads only bytes inside the n.
  void mark(const unsigned char* chunk, std::uint64_t n);

  // The first marked block start at or after `position` (itself a block
  // start) for type `index`; false when there is none in the chunk.
  bool next(int index, std::uint64_t& position) const;

  // Where type `index`'s header is tested from a block start: 0, or 4 for
  // QuickTime.
  std::uint64_t lead(int index) const { return index >= 0 && index < types_ ? lead_[index] : 0; }

 private:
  std::uint64_t first_[256] = {};   // bit t: the byte may begin type t's header
  std::uint64_t second_[256] = {};  // bit t: the byte may follow it
  std::uint64_t lead_[64] = {};
  std::uint64_t led_types_ = 0;     // bit t: type t's header is tested at block start + kLead
  int types_ = 0;
  std::uint64_t block_ = 1;
  std::uint64_t blocks_ = 0;
  std::uint64_t words_ = 0;          // 64-bit words per type
  std::vector<std::uint64_t> bits_;  // type-major: bit k of type t is block start k
};

}  // namespace qf
