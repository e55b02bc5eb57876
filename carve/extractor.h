#pragma once
// The extractors: one function per file format, called by the scan loop for
// every header match. An extractor checks that the bytes really start a file
// of its format, works out where the file ends, records it with
// record_found_file (carve/found_file.h) and says where the search goes on.
//
// Every extractor takes one header_match (below). It may read only
// [s - m, s + R): a size or offset field that points outside
// means give up or go on, never a read past the data. Sizes are 64-bit.
//
// It answers the position where the search for this type goes on (inside
// [s, s + R]; go_on_at clamps), or null when it delimited no file inside the
// data it was given. After a null the scan loop searches again one byte past
// the header when R >= max_len, else it re-reads max_len bytes from the
// device at the header and calls the extractor once more on those.
//
// Extractors of a type with a filter (entry.filter, from the type's
// descriptor) record a file only when filter_allows(filter, suffix); otherwise
// they go on where they would have gone after recording.
#include <cstdint>
#include <string_view>

namespace qf {

struct carve_state;
struct type_spec;

// One header match as the extractor sees it.
struct header_match {
  carve_state& state;   // the scan's settings and counters
  type_spec& entry;     // the entry whose header matched (its max_len, footer, markers, filter)
  const unsigned char* s;  // the first header byte
  std::uint64_t m;      // bytes readable before s (the offset of s in the buffer)
  std::uint64_t R;      // bytes readable from s on (s[0] ... s[R - 1])
  std::uint64_t base;   // device offset of s - m, so s itself lies at device offset base + m
};

using extractor_fn = const unsigned char* (*)(const header_match& match);

// Pictures, video and audio.
const unsigned char* extract_jpeg(const header_match& match);
const unsigned char* extract_gif(const header_match& match);
const unsigned char* extract_bmp(const header_match& match);
const unsigned char* extract_png(const header_match& match);
const unsigned char* extract_mpeg(const header_match& match);
// The header is the atom type "moov" or "pnot": the file starts 4 bytes
// earlier, so this one reads s - 4 (only when m >= 4).
const unsigned char* extract_quicktime(const header_match& match);
// The header is the box type "ftyp": the file starts 4 bytes earlier. The
// boxes are followed through the device past the data (no re-read needed).
const unsigned char* extract_iso_media(const header_match& match);
// Phone types beyond the classic set.
const unsigned char* extract_webp(const header_match& match);
const unsigned char* extract_mp3(const header_match& match);
const unsigned char* extract_ogg(const header_match& match);
const unsigned char* extract_amr(const header_match& match);
const unsigned char* extract_wmv(const header_match& match);
const unsigned char* extract_riff(const header_match& match);

// Documents, archives and programs.
const unsigned char* extract_pdf(const header_match& match);
const unsigned char* extract_html(const header_match& match);
const unsigned char* extract_c_source(const header_match& match);
const unsigned char* extract_rar(const header_match& match);
const unsigned char* extract_exe(const header_match& match);
const unsigned char* extract_ole(const header_match& match);
// ZIP compares its filter for equality with the suffix, not containment.
const unsigned char* extract_zip(const header_match& match);

// Runs the matched entry's extractor, after the suffix change its type makes
// first (xls and ole entries search as "ole", rif and wav entries as "rif").
// Types without an extractor give up at once.
const unsigned char* dispatch_extractor(const header_match& match);

// Bytes before the header that a re-read from the device must include so the
// extractor sees the whole file: 4 for QuickTime (the atom size precedes the
// matched atom or box type), else 0.
std::uint64_t reread_lead(int type_code);

// "all" allows every suffix; any other filter allows a suffix containing it.
bool filter_allows(std::string_view filter, std::string_view suffix);

// The position `offset` bytes after s, never past the end of the data.
inline const unsigned char* go_on_at(const unsigned char* s, std::uint64_t R, std::uint64_t offset) {
  return s + (offset < R ? offset : R);
}

}  // namespace qf
