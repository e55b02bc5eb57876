#pragma once
// Indirect blocks: on an ext2-style file system, a file's 13th block is often
// an indirect block (a list of the following block numbers), stored between
// the 12th and 13th data blocks. Detection recognises such a block right after
// 12 blocks from a header, so the file's data can be seen without it.
#include <cstdint>
#include <vector>

namespace qf {

// True when the block of `bs` bytes at p + 12 * bs looks like an indirect
// block: 32-bit little-endian block numbers, each one more than the one
// before, then zeros to the block's end. Only reads inside `remaining` bytes.
bool indirect_block_at(const unsigned char* p, std::uint64_t remaining, unsigned bs);

// Takes the indirect block out of the data after a header and puts it back.
class indirect_block_removal {
 public:
  // Tries block sizes 4096, 1024, 512; removes the first one found when more
  // than 13 blocks remain (the data after it moves down one block).
  bool remove(unsigned char* p, std::uint64_t remaining);
  // Moves the data back up and restores the block's own bytes.
  void restore();
  unsigned block_size() const { return bs_; }

 private:
  unsigned char* at_ = nullptr;  // where the block was
  std::uint64_t tail_ = 0;       // bytes after it that moved down
  unsigned bs_ = 0;
  std::vector<unsigned char> saved_;
};

}  // namespace qf
