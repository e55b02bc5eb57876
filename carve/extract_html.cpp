// HTML and XHTML pages. A page opens (after an optional UTF-8 byte-order mark
// and white space) with "<!DOCTYPE html", with "<html", or with an XML prolog
// "<?xml" followed by "<html" within the first KiB; letters in any case. The
// type's header matches any byte, so every block start (every byte in a full
// search) is tested here.
// The page is a run of text (printable ASCII, white space, UTF-8 bytes). It
// ends after the first "</html>" and the white space after it; a page without
// a closing tag ends where the text run ends. The run is followed through the
// device past the chunk (carve/file_bytes.h).
#include <cstring>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extract_text.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kOpeningWindow = 1024;
constexpr std::uint64_t kTextProbe = 16;   // bytes after the opening that must be text
constexpr std::uint64_t kMinimumUnclosed = 64;
constexpr std::size_t kClosingLength = 7;  // "</html>"

bool is_space(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool page_byte(unsigned char c) { return is_text_byte(c) || c == '\f' || c >= 0x80; }

unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

bool starts_with(const unsigned char* p, std::uint64_t available, const char* word) {
  const std::size_t n = std::strlen(word);
  if (available < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (lower(p[i]) != static_cast<unsigned char>(word[i])) return false;
  }
  return true;
}

bool html_tag(const unsigned char* p, std::uint64_t available) {
  return starts_with(p, available, "<html") && available > 5 && (is_space(p[5]) || p[5] == '>');
}

// The offset of the page's first text after its opening, or 0 when the bytes
// at s do not open a page.
std::uint64_t opening(const unsigned char* s, std::uint64_t R) {
  const std::uint64_t window = R < kOpeningWindow ? R : kOpeningWindow;
  std::uint64_t i = 0;
  if (starts_with(s, window, "\xef\xbb\xbf")) i = 3;
  while (i < window && is_space(s[i])) ++i;
  if (starts_with(s + i, window - i, "<!doctype html")) return i + 14;
  if (html_tag(s + i, window - i)) return i + 5;
  if (!starts_with(s + i, window - i, "<?xml")) return 0;
  for (std::uint64_t j = i + 5; j < window; ++j) {
    if (!page_byte(s[j])) return 0;
    if (html_tag(s + j, window - j)) return j + 5;
  }
  return 0;
}

struct page_end {
  std::uint64_t end = 0;
  bool closed = false;
  bool out_of_data = false;  // the data ended inside the text run
};

// Walks the text run from `from`: the end after "</html>" and its white
// space, or the end of the run.
page_end walk_page(file_bytes& bytes, std::uint64_t from, std::uint64_t max_len) {
  page_end page;
  std::uint64_t pos = from;
  while (pos < max_len) {
    std::size_t got = 0;
    const unsigned char* p = bytes.up_to(pos, file_bytes::kMaxRead, got);
    if (!p) {
      page.out_of_data = true;
      break;
    }
    std::size_t i = 0;
    for (; i < got && pos + i < max_len; ++i) {
      const unsigned char c = p[i];
      if (page.closed ? !is_space(c) : !page_byte(c)) {
        page.end = pos + i;
        return page;
      }
      if (c != '<' || page.closed) continue;
      if (i + kClosingLength > got && got == file_bytes::kMaxRead) break;  // read again from the '<'
      if (starts_with(p + i, got - i, "</html>")) {
        page.closed = true;
        i += kClosingLength - 1;
      }
    }
    pos += i;
  }
  page.end = pos < max_len ? pos : max_len;
  return page;
}

// Where the search goes on after bytes that open no page: the next block
// start in quick mode; in a full search (called at every byte) the next byte
// that can begin an opening, so this type costs one pass over the data.
const unsigned char* next_candidate(const carve_state& state, const unsigned char* s, std::uint64_t R) {
  if (state.mode & kModeQuick) return go_on_at(s, R, 1);
  for (std::uint64_t i = 1; i < R; ++i) {
    if (s[i] == '<' || s[i] == 0xEF) return s + i;
  }
  return s + R;
}

}  // namespace

const unsigned char* extract_html(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  const unsigned char first = R > 0 ? s[0] : 0;
  if (first != '<' && first != 0xEF && !is_space(first)) return next_candidate(state, s, R);
  const std::uint64_t d = opening(s, R);
  if (d == 0) return next_candidate(state, s, R);
  if (!has_bytes(R, d, kTextProbe)) return state.device ? next_candidate(state, s, R) : nullptr;
  for (std::uint64_t i = 0; i < kTextProbe; ++i) {
    if (!page_byte(s[d + i])) return go_on_at(s, R, d + kTextProbe);
  }

  file_bytes bytes(state, s, R, base + m);
  const page_end page = walk_page(bytes, d, entry.max_len);
  // Without the device, a page that runs past the data is the loop's to re-read.
  if (page.out_of_data && !state.device && R < entry.max_len) return nullptr;
  if (!page.closed && page.end < kMinimumUnclosed) return go_on_at(s, R, d);
  record_found_file(entry, state, page.end, base + m, page.closed);
  return go_on_at(s, R, page.end);
}

}  // namespace qf
