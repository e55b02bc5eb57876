// The scan run and the search of one chunk.
#include "carve/scan_loop.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <map>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

#include "carve/carve_engine.h"
#include "carve/cdr_node.h"
#include "carve/chunk_reader.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/quick_candidates.h"
#include "carve/scan_observer.h"
#include "carve/scan_loop_indirect.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"
#include "platform/read_handle.h"

namespace qf {
namespace {

constexpr std::uint64_t kChunkUnit = 1048576;
constexpr int kDefaultBlock = 512;
// The most a re-read for one extractor call holds; larger types delimit their
// files through carve/file_bytes.h instead.
constexpr std::uint64_t kMaxReread = 100 * 1048576;
// How far back a validated file may start and still hold a header (the
// largest limit of any type), and how many earlier files are looked at.
constexpr std::uint64_t kLongestKept = 4096ull * 1048576;
constexpr int kNestingLooked = 8;

// The header test at one quick-mode position: the whole header must lie in
// the data (the spare bytes after a short last read may hold an older chunk).
bool header_at(const type_spec& entry, const unsigned char* chunk, std::uint64_t p, std::uint64_t n) {
  return entry.header_len <= n && p <= n - entry.header_len &&
         search_string_matches(chunk + p, entry.header.data(), entry.header_len, entry.case_sensitive);
}

// What the search of one chunk leaves to the next ones.
struct scan_memory {
  // Per type, the device offset where its search may start again: the end of
  // a file recorded across a chunk end.
  std::vector<std::uint64_t> resume;
  // Files delimited by their own structure (start to end, device offsets).
  // A full search does not carve headers inside them again, so embedded
  // thumbnails and video frames do not multiply the output.
  std::map<std::uint64_t, std::uint64_t> validated;
};

// Pictures and text are what other files embed: a full search looks for them
// after the types that may hold them.
bool embeddable(int type_code) {
  return type_code == kCodeJpeg || type_code == kCodePng || type_code == kCodeGif || type_code == kCodeBmp ||
         type_code == kCodeHtml || type_code == kCodeCpp;
}

class chunk_search {
 public:
  // `candidates` is prepared for this scan's types and block size.
  chunk_search(carve_state& state, const input_range& input, unsigned char* chunk, std::uint64_t n,
               std::uint64_t base, quick_candidates& candidates, scan_memory& memory)
      : state_(state), input_(input), chunk_(chunk), n_(n), base_(base), candidates_(candidates),
        resume_(memory.resume), validated_(memory.validated),
        total_(state.input_start + state.input_length),
        block_(state.block_size > 0 ? static_cast<std::uint64_t>(state.block_size) : kDefaultBlock) {}

  // False when the callback asked to abort.
  bool run() {
    if (quick()) candidates_.mark(chunk_, n_);
    // Files that ended before this chunk hold none of its headers.
    validated_.erase(validated_.begin(), validated_.lower_bound(base_ > kLongestKept ? base_ - kLongestKept : 0));
    for (int pass = 0; pass < (quick() ? 1 : 2); ++pass) {
      for (int i = 0; i < state_.type_count; ++i) {
        // A full search takes the embeddable types in a second pass.
        if (!quick() && embeddable(type_spec_table[static_cast<std::size_t>(i)].type_code) != (pass == 1)) continue;
        if (aborted()) return false;
        if (!search_type(i)) return false;
      }
    }
    return true;
  }

 private:
  bool aborted() {
    return state_.progress && state_.progress(total_, base_, nullptr, state_.user_data) == kCarveAbort;
  }

  std::uint64_t round_to_block(std::uint64_t p) const {
    const std::uint64_t rest = (block_ & (block_ - 1)) == 0 ? (p & (block_ - 1)) : p % block_;
    return rest == 0 ? p : p + (block_ - rest);
  }

  bool quick() const { return (state_.mode & kModeQuick) != 0; }

  // The next header of entry `index` at or after p, in quick mode or by
  // skip-table search; false when there is none (or the callback aborted: see
  // aborted_). Quick mode tests only the block starts whose first bytes can
  // begin the header: every other block start would fail the test, so the
  // same headers are found, and the callback is asked at each one tested.
  bool next_header(int index, type_spec& entry, std::uint64_t& p) {
    for (;;) {
      entry.written = 0;
      if (p >= n_) return false;
      if (aborted()) {
        aborted_ = true;
        return false;
      }
      if (!quick()) {
        const unsigned char* hit = find_header(entry, chunk_ + p, n_ - p);
        if (!hit) return false;
        p = static_cast<std::uint64_t>(hit - chunk_);
        const std::uint64_t inside_until = validated_end_around(base_ + p);
        if (inside_until == 0) return true;
        p = inside_until - base_;  // past the file that holds this header
        continue;
      }
      p = round_to_block(p);
      if (!candidates_.next(index, p)) return false;
      const std::uint64_t lead = candidates_.lead(index);
      if (header_at(entry, chunk_, p + lead, n_)) {
        p += lead;
        return true;
      }
      p += block_;
    }
  }

  // The end of a validated file that holds `offset` strictly inside it, or 0.
  std::uint64_t validated_end_around(std::uint64_t offset) const {
    auto after = validated_.upper_bound(offset);
    std::uint64_t end = 0;
    // Files may nest: look back over the few that start before the offset.
    for (int looked = 0; after != validated_.begin() && looked < kNestingLooked; ++looked) {
      --after;
      if (after->first < offset && after->second > offset && after->second > end) end = after->second;
    }
    return end;
  }

  bool search_type(int index) {
    type_spec& entry = type_spec_table[static_cast<std::size_t>(index)];
    if (resume_.size() < static_cast<std::size_t>(state_.type_count)) resume_.resize(static_cast<std::size_t>(state_.type_count), 0);
    std::uint64_t& resume = resume_[static_cast<std::size_t>(index)];
    std::uint64_t p = resume > base_ ? resume - base_ : 0;
    while (next_header(index, entry, p)) {
      const cdr_found_file* before = entry.folder ? entry.folder->last_file : nullptr;
      const bool more = extract_at(entry, p);
      // A file recorded past this chunk's end: its inside is not searched
      // again by this type, here or in the next chunk.
      const cdr_found_file* last = entry.folder ? entry.folder->last_file : nullptr;
      if (last && last != before && last->end_validated) {
        std::uint64_t& end = validated_[last->offset];
        if (end < last->offset + last->size) end = last->offset + last->size;
      }
      if (last && last != before && last->offset + last->size > base_ + n_) {
        resume = last->offset + last->size;
        return !aborted_;
      }
      if (!more) return true;  // this type is done with the chunk
    }
    return !aborted_;
  }

  // Runs the extractor on the match at m; false when this type's search of
  // the chunk ends. Otherwise p becomes the next search position.
  bool extract_at(type_spec& entry, std::uint64_t& p) {
    const std::uint64_t m = p;
    std::uint64_t remaining = n_ - m;
    indirect_block_removal removal;
    const bool removed = (state_.mode & kModeIndirect) && removal.remove(chunk_ + m, remaining);
    if (removed) {
      remaining -= removal.block_size();
      n_ -= removal.block_size();
    }

    const unsigned char* next = dispatch_extractor({state_, entry, chunk_ + m, m, remaining, base_});
    bool more = true;
    if ((state_.mode & kModeHeaderDump) && !entry.written) {
      record_found_file(entry, state_, remaining < entry.max_len ? remaining : entry.max_len, base_ + m);
      if (!next) next = chunk_ + m + entry.header_len + 1;
    } else if (!next) {
      next = chunk_ + m + entry.header_len + 1;
      if (remaining < entry.max_len) {
        const std::uint64_t after = reread(entry, m);
        if (after >= n_) {
          more = false;
        } else if (after > m) {
          next = chunk_ + after;
        }
      }
    }

    if (removed) {
      removal.restore();
      n_ += removal.block_size();
    }
    // An extractor always moves forward, so no match is handled twice.
    if (more) p = next <= chunk_ + m ? m + 1 : static_cast<std::uint64_t>(next - chunk_);
    return more;
  }

  // The file may run past the chunk: hand the extractor max_len bytes read
  // from the device at the header (from the atom start for QuickTime). The
  // search of this type goes on where the extractor said, translated back to
  // the chunk (0 when it gave up: one byte past the header then).
  std::uint64_t reread(type_spec& entry, std::uint64_t m) {
    const std::uint64_t at = base_ + m;
    std::uint64_t lead = reread_lead(entry.type_code);
    if (lead > at) lead = 0;
    const std::uint64_t wanted = entry.max_len < kMaxReread ? entry.max_len : kMaxReread;
    const disk_bytes bytes = read_from_disk(input_, at - lead, wanted + lead);
    if (bytes.length <= lead) return 0;
    const unsigned char* s = bytes.data + lead;
    const unsigned char* next = dispatch_extractor({state_, entry, s, lead, bytes.length - lead, at - lead});
    return next && next > s ? m + static_cast<std::uint64_t>(next - s) : 0;
  }

  carve_state& state_;
  const input_range& input_;
  unsigned char* chunk_;
  std::uint64_t n_;
  const std::uint64_t base_;
  quick_candidates& candidates_;
  std::vector<std::uint64_t>& resume_;
  std::map<std::uint64_t, std::uint64_t>& validated_;
  const std::uint64_t total_;
  const std::uint64_t block_;
  bool aborted_ = false;
};

// The device is the extractors' for the length of one scan.
class device_scope {
 public:
  device_scope(carve_state& state, const input_range& input) : state_(state), kept_(state.device) {
    state.device = &input;
  }
  ~device_scope() { state_.device = kept_; }
  device_scope(const device_scope&) = delete;
  device_scope& operator=(const device_scope&) = delete;

 private:
  carve_state& state_;
  const input_range* kept_;
};

bool quiet(const carve_state& state) { return (state.mode & kModeQuiet) != 0; }

void prepare_candidates(const carve_state& state, quick_candidates& candidates) {
  candidates.prepare(type_spec_table.data(), state.type_count,
                     state.block_size > 0 ? static_cast<std::uint64_t>(state.block_size) : kDefaultBlock);
}

std::atomic<std::FILE*> g_scan_marks{stderr};

// The run's own marks ("Processing: ...|" before the chunks, "|" after them),
// unless quiet or switched off.
void mark(const carve_state& state, const char* text, const std::string& path = {}) {
  std::FILE* out = g_scan_marks.load();
  if (quiet(state) || !out) return;
  std::fprintf(out, text, path.c_str());
}

}  // namespace

bool search_chunk(carve_state& state, const input_range& input, unsigned char* chunk, std::uint64_t n,
                  std::uint64_t base) {
  quick_candidates candidates;
  prepare_candidates(state, candidates);
  scan_memory memory;
  const device_scope scope(state, input);
  return chunk_search(state, input, chunk, n, base, candidates, memory).run();
}

int scan_input_range(carve_state& state, const input_range& input) {
  const std::uint64_t chunk_size = static_cast<std::uint64_t>(state.chunk_mib > 0 ? state.chunk_mib : 1) * kChunkUnit;
  return scan_input_chunks(state, input, chunk_size);
}

int scan_input_chunks(carve_state& state, const input_range& input, std::uint64_t chunk_size) {
  if (chunk_size == 0) chunk_size = kChunkUnit;
  std::uint64_t length = input.input_length;
  if (state.skip_blocks > 0) {
    const std::uint64_t skipped = static_cast<std::uint64_t>(state.skip_blocks) *
                                  static_cast<std::uint64_t>(state.block_size > 0 ? state.block_size : kDefaultBlock);
    length = skipped < length ? length - skipped : 0;
  }
  const std::uint64_t end = input.input_start + length;
  chunk_reader chunks(input, chunk_size, end, (state.mode & kModeIndirect) == 0);
  if (!chunks.ready()) {
    carve_note(state, "Ran out of memory for a " + std::to_string(chunk_size) + "-byte read chunk");
    return 1;
  }
  const input_range& device = chunks.device();
  const std::uint64_t total = state.input_start + state.input_length;
  std::uint64_t position = input.input_start;
  quick_candidates candidates;
  prepare_candidates(state, candidates);
  scan_memory memory;
  const device_scope scope(state, device);
  while (position < end) {
    const std::int64_t got = chunks.next(position);
    if (got <= 0) break;  // end of the device, or a read error: what was found stays
    const std::uint64_t n = static_cast<std::uint64_t>(got);
    unsigned char* chunk = chunks.current();
    // Under the address sanitizer, the bytes past this read (spare bytes, and
    // an older chunk's tail after a short read) may not be touched.
    ASAN_POISON_MEMORY_REGION(chunk + n, chunk_size + kChunkSpare - n);
    const bool go_on = chunk_search(state, device, chunk, n, position, candidates, memory).run();
    ASAN_UNPOISON_MEMORY_REGION(chunk + n, chunk_size + kChunkSpare - n);
    if (!go_on) break;
    if (state.observer) state.observer->chunk_searched(device, chunk, n, position);
    position += n;
    if (!quiet(state) && state.progress &&
        state.progress(total, position, nullptr, state.user_data) == kCarveAbort) {
      break;
    }
  }
  if (state.observer) state.observer->scan_ended(device, position >= end);
  return 0;
}

void set_scan_marks(std::FILE* stream) { g_scan_marks.store(stream); }

int carve_scan_input(carve_state& state) {
  ReadHandle* handle = state.partition ? state.partition->scan_handle : nullptr;
  if (state.input_path.empty() || !handle) {
    if (!quiet(state)) {
      std::fprintf(stderr, "%s: %s: %s%s", "search", state.input_path.c_str(),
                   std::strerror(errno != 0 ? errno : ENOENT), "\n");
    }
    return 1;
  }
  mark(state, "Processing: %s\n|", state.input_path);
  input_range input;
  input.path = full_path_or_self(state.input_path);
  input.read = handle_reader(handle);
  input.input_length = state.input_length;
  input.input_start = state.input_start;
  const std::int64_t device_size = read_handle_length(handle);
  input.device_size = device_size > 0 ? static_cast<std::uint64_t>(device_size) : 0;
  const int result = scan_input_range(state, input);
  if (result == 0) mark(state, "|\n");
  return result;
}

}  // namespace qf
