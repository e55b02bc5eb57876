#pragma once
// The scan's chunks, read in device order. An extractor that follows a file
// past the chunk being searched reads through device(): the first such read
// brings in the whole next chunk early, and the scan then searches that chunk
// from memory instead of reading it again. So a file crossing a chunk end
// costs no second read of the bytes the next chunk holds, and memory stays
// at two chunks.
#include <cstdint>
#include <memory>

#include "carve/scan_loop.h"

namespace qf {

class chunk_reader {
 public:
  // `chunk_size` bytes per chunk (each buffer has kChunkSpare more), chunks
  // read no further than `end`. With `serve_current`, reads that start inside
  // the current chunk are answered from it too (not when the search changes
  // the chunk's bytes, as indirect-block removal does).
  chunk_reader(const input_range& input, std::uint64_t chunk_size, std::uint64_t end, bool serve_current);
  chunk_reader(const chunk_reader&) = delete;
  chunk_reader& operator=(const chunk_reader&) = delete;

  // False when the memory for a chunk is not there.
  bool ready() const { return chunk_ != nullptr; }
  // Reads the chunk at `position` into current(): the bytes read, 0 at the end
  // of the device, -1 on a read error.
  std::int64_t next(std::uint64_t position);
  unsigned char* current() { return chunk_.get(); }
  // The device as extractors see it while the current chunk is searched.
  const input_range& device() const { return view_; }

 private:
  std::int64_t read(std::uint64_t offset, void* buffer, std::size_t length);
  bool read_ahead();

  const input_range& input_;
  input_range view_;
  const std::uint64_t chunk_size_;
  const std::uint64_t end_;
  const bool serve_current_;
  std::unique_ptr<unsigned char[]> chunk_;
  std::unique_ptr<unsigned char[]> ahead_;
  std::uint64_t base_ = 0;   // device offset of the current chunk
  std::uint64_t held_ = 0;   // bytes in the current chunk
  std::uint64_t ahead_held_ = 0;
  bool ahead_read_ = false;  // ahead_ holds the chunk at base_ + held_
};

}  // namespace qf
