#pragma once
// The hand-off between a scan and a writer of its found files. On the scan
// thread it follows every recorded file through the chunks that hold it and
// copies the file's bytes out of each chunk while the chunk is in memory, into
// one ring buffer of fixed size; a writer on another thread takes the pieces
// in order. So the device is read once, and the memory used is the scan's
// chunk plus this buffer, whatever the files' sizes.
//
// When the writer falls a whole buffer behind, the scan waits for it rather
// than dropping bytes to read them again later: the run is then as slow as the
// writing anyway, and re-reading would cost a second pass over the device.
// Bytes a chunk no longer holds (a file that starts a few bytes before its
// header's chunk, or runs past the scanned range) are read from the device;
// such reads are counted.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "carve/scan_observer.h"

namespace qf {

// One recorded file, as the writer needs it.
struct handed_file {
  std::uint64_t id = 0;  // record order
  std::string folder;    // the type folder's name, "jpg"
  std::string name;      // "2048.jpg"
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  bool end_validated = false;
};

enum class handoff_kind {
  bytes,      // the next `length` bytes of `file`
  complete,   // every byte of `file` was handed over
  unreadable, // the rest of `file` could not be read
  settled,    // no file starting below `position` can still be recorded
};

struct handoff_piece {
  handoff_kind kind = handoff_kind::settled;
  std::shared_ptr<const handed_file> file;
  const unsigned char* data = nullptr;  // in the ring; valid until released
  std::size_t length = 0;
  std::uint64_t position = 0;
};

class found_file_handoff final : public scan_observer {
 public:
  static constexpr std::size_t kDefaultCapacity = 8u << 20;

  explicit found_file_handoff(std::size_t capacity = kDefaultCapacity);

  // Scan side.
  void file_recorded(const cdr_found_file& file) override;
  void chunk_searched(const input_range& device, const unsigned char* data, std::uint64_t n,
                      std::uint64_t base) override;
  void scan_ended(const input_range& device, bool whole) override;

  // Writer side: waits up to `wait` for the next piece; false when none came.
  // A bytes piece's ring space is given back by release().
  bool take(handoff_piece& piece, std::chrono::milliseconds wait);
  void release(const handoff_piece& piece);
  // The writer takes no more: the scan side stops waiting and drops pieces.
  void close();

  std::uint64_t files_recorded() const { return recorded_.load(); }
  // Bytes read from the device because no chunk held them any more.
  std::uint64_t bytes_reread() const { return reread_.load(); }
  // Times the scan found the buffer full and waited for the writer.
  std::uint64_t scan_waits() const { return waits_.load(); }

 private:
  struct following {
    std::shared_ptr<const handed_file> file;
    std::uint64_t next;  // device offset of the first byte not handed over
  };

  void hand_range(following& f, const unsigned char* data, std::uint64_t from, std::uint64_t to);
  bool hand_from_device(following& f, const input_range& device, std::uint64_t to);
  void hand_bytes(following& f, const unsigned char* data, std::uint64_t length);
  void push(handoff_piece piece);

  const std::size_t capacity_;
  std::unique_ptr<unsigned char[]> ring_;
  std::vector<following> followed_;  // scan thread only
  std::uint64_t next_id_ = 0;        // scan thread only

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<handoff_piece> pieces_;
  std::size_t head_ = 0;  // where the next bytes go in the ring
  std::size_t held_ = 0;  // ring bytes handed over and not yet released
  bool closed_ = false;
  std::atomic<std::uint64_t> recorded_{0};
  std::atomic<std::uint64_t> reread_{0};
  std::atomic<std::uint64_t> waits_{0};
};

}  // namespace qf
