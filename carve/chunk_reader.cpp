#include "carve/chunk_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qf {

chunk_reader::chunk_reader(const input_range& input, std::uint64_t chunk_size, std::uint64_t end, bool serve_current)
    : input_(input), view_(input), chunk_size_(chunk_size), end_(end), serve_current_(serve_current),
      chunk_(new (std::nothrow) unsigned char[chunk_size + kChunkSpare]()) {
  view_.read = [this](std::uint64_t offset, void* buffer, std::size_t length) { return read(offset, buffer, length); };
}

std::int64_t chunk_reader::next(std::uint64_t position) {
  std::int64_t got = 0;
  if (ahead_read_ && position == base_ + held_) {
    std::swap(chunk_, ahead_);
    got = static_cast<std::int64_t>(ahead_held_);
  } else {
    got = input_.read(position, chunk_.get(), static_cast<std::size_t>(chunk_size_));
  }
  ahead_read_ = false;
  base_ = position;
  held_ = got > 0 ? static_cast<std::uint64_t>(got) : 0;
  return got;
}

// Reads the chunk after the current one, as next() would, once.
bool chunk_reader::read_ahead() {
  if (ahead_read_) return true;
  const std::uint64_t at = base_ + held_;
  if (held_ < chunk_size_ || at >= end_) return false;  // the scan reads no chunk there
  if (!ahead_) ahead_.reset(new (std::nothrow) unsigned char[chunk_size_ + kChunkSpare]());
  if (!ahead_) return false;
  const std::int64_t got = input_.read(at, ahead_.get(), static_cast<std::size_t>(chunk_size_));
  if (got <= 0) return false;
  ahead_held_ = static_cast<std::uint64_t>(got);
  ahead_read_ = true;
  return true;
}

// A read that starts inside the current or the next chunk takes what they
// hold from them; only bytes past the next chunk come from the device.
std::int64_t chunk_reader::read(std::uint64_t offset, void* buffer, std::size_t length) {
  const std::uint64_t ahead_at = base_ + held_;
  const std::uint64_t first = serve_current_ ? base_ : ahead_at;
  if (length == 0 || offset < first || offset + length <= ahead_at || offset >= ahead_at + chunk_size_ ||
      !read_ahead() || offset >= ahead_at + ahead_held_) {
    return input_.read(offset, buffer, length);
  }
  auto* out = static_cast<unsigned char*>(buffer);
  std::uint64_t done = 0;
  if (offset < ahead_at) {
    done = ahead_at - offset;
    std::memcpy(out, chunk_.get() + (offset - base_), static_cast<std::size_t>(done));
  }
  const std::uint64_t from = offset + done - ahead_at;
  const std::uint64_t taken = std::min<std::uint64_t>(length - done, ahead_held_ - from);
  std::memcpy(out + done, ahead_.get() + from, static_cast<std::size_t>(taken));
  done += taken;
  if (done == length || ahead_held_ < chunk_size_) return static_cast<std::int64_t>(done);
  const std::int64_t rest = input_.read(ahead_at + ahead_held_, out + done, static_cast<std::size_t>(length - done));
  return static_cast<std::int64_t>(done) + (rest > 0 ? rest : 0);
}

}  // namespace qf
