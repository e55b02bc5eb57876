#include "carve/found_file_handoff.h"

#include <algorithm>

#include "carve/cdr_node.h"
#include "carve/found_file.h"
#include "carve/scan_loop.h"

namespace qf {
namespace {

// The largest piece handed over at once.
constexpr std::size_t kSlice = 1u << 20;
// How far before its chunk a file may start: a QuickTime or ISO media file
// begins four bytes before the atom type its header matches. Files recorded
// later all start at or after the next chunk's base less this.
constexpr std::uint64_t kStartBeforeChunk = 4096;

}  // namespace

found_file_handoff::found_file_handoff(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)), ring_(new unsigned char[capacity_]) {}

void found_file_handoff::file_recorded(const cdr_found_file& file) {
  auto handed = std::make_shared<handed_file>();
  handed->id = next_id_++;
  handed->folder = file.folder ? file.folder->name : std::string();
  handed->name = file.name;
  handed->offset = file.offset;
  handed->size = file.size;
  handed->end_validated = file.end_validated;
  followed_.push_back({std::move(handed), file.offset});
  ++recorded_;
}

void found_file_handoff::chunk_searched(const input_range& device, const unsigned char* data, std::uint64_t n,
                                        std::uint64_t base) {
  const std::uint64_t end = base + n;
  for (auto f = followed_.begin(); f != followed_.end();) {
    const std::uint64_t file_end = f->file->offset + f->file->size;
    const bool read = f->next >= base || hand_from_device(*f, device, std::min(base, file_end));
    if (read && f->next < end && f->next < file_end) hand_range(*f, data, base, std::min(file_end, end));
    if (!read || f->next == file_end) {
      push({read ? handoff_kind::complete : handoff_kind::unreadable, f->file});
      f = followed_.erase(f);
    } else {
      ++f;
    }
  }
  push({handoff_kind::settled, nullptr, nullptr, 0, end > kStartBeforeChunk ? end - kStartBeforeChunk : 0});
}

void found_file_handoff::scan_ended(const input_range& device, bool whole) {
  // A stopped scan leaves its unfinished files to the writer, which removes
  // what it began of them.
  for (following& f : followed_) {
    if (!whole) break;
    const bool read = hand_from_device(f, device, f.file->offset + f.file->size);
    push({read ? handoff_kind::complete : handoff_kind::unreadable, f.file});
  }
  followed_.clear();
  push({handoff_kind::settled, nullptr, nullptr, 0, ~0ull});
}

void found_file_handoff::hand_range(following& f, const unsigned char* data, std::uint64_t base, std::uint64_t to) {
  hand_bytes(f, data + (f.next - base), to - f.next);
}

bool found_file_handoff::hand_from_device(following& f, const input_range& device, std::uint64_t to) {
  while (f.next < to) {
    const disk_bytes bytes = read_from_disk(device, f.next, std::min<std::uint64_t>(to - f.next, kSlice));
    if (!bytes.data || bytes.length == 0) return false;
    reread_ += bytes.length;
    hand_bytes(f, bytes.data, bytes.length);
  }
  return true;
}

void found_file_handoff::hand_bytes(following& f, const unsigned char* data, std::uint64_t length) {
  while (length > 0) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!closed_ && held_ == capacity_) {
      ++waits_;
      changed_.wait(lock, [this] { return closed_ || held_ < capacity_; });
    }
    if (closed_) {
      f.next += length;  // nobody takes them: dropped
      return;
    }
    const std::size_t room = std::min(capacity_ - held_, capacity_ - head_);
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>({length, room, kSlice}));
    unsigned char* slot = ring_.get() + head_;
    head_ = (head_ + take) % capacity_;
    held_ += take;
    // The slot is this thread's until the piece is queued: copy unlocked.
    lock.unlock();
    std::copy(data, data + take, slot);
    push({handoff_kind::bytes, f.file, slot, take});
    f.next += take;
    data += take;
    length -= take;
  }
}

void found_file_handoff::push(handoff_piece piece) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closed_) return;
  pieces_.push_back(std::move(piece));
  changed_.notify_all();
}

bool found_file_handoff::take(handoff_piece& piece, std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!changed_.wait_for(lock, wait, [this] { return !pieces_.empty(); })) return false;
  piece = std::move(pieces_.front());
  pieces_.pop_front();
  return true;
}

void found_file_handoff::release(const handoff_piece& piece) {
  if (piece.kind != handoff_kind::bytes) return;
  std::lock_guard<std::mutex> lock(mutex_);
  held_ -= piece.length;
  changed_.notify_all();
}

void found_file_handoff::close() {
  std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
  pieces_.clear();
  changed_.notify_all();
}

}  // namespace qf
