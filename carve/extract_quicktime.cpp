// QuickTime movie: a sequence of atoms, each a big-endian 32-bit size (the
// whole atom) and a four-letter type. The header matched is the type "moov"
// (or "pnot" of a preview), so the atom and the file start 4 bytes earlier.
// The movie ends before the first atom whose type a movie file does not use at
// its top level, and only counts when a media-data atom ("mdat") was seen.
#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

#include <cstring>

namespace qf {
namespace {

constexpr std::uint64_t kAtomLead = 4;  // the size field before the matched type

bool continues_movie(const unsigned char* type) {
  static const char* const kTypes[] = {"free", "mdat", "wide", "PICT", "trak", "moov"};
  for (const char* t : kTypes) {
    if (std::memcmp(type, t, 4) == 0) return true;
  }
  return std::memcmp(type, "mp3", 3) == 0;
}

}  // namespace

const unsigned char* extract_quicktime(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  // The atom's size lies before the match: without it (a match at the very
  // start of the data) it is read from the device, or the loop's re-read,
  // which includes those bytes, helps.
  if (base + m < kAtomLead) return go_on_at(s, R, entry.header_len);
  if (m < kAtomLead && !state.device) return nullptr;
  file_bytes bytes = file_bytes::starting_before(state, s, m, R, base, kAtomLead);
  const auto skip_from = [&match](std::uint64_t a) { return go_on_at(match.s, match.R, a + match.entry.header_len); };

  std::uint64_t a = 0;  // offset of the current atom from the movie's start
  bool mdat = false;
  for (;;) {
    const unsigned char* atom = bytes.at(a, 4);
    if (!atom) return state.device ? skip_from(a) : nullptr;
    const std::uint64_t h = be32(atom);
    if (h == 0 || h > entry.max_len || a + h > entry.max_len) return skip_from(a);
    // An atom past the data: without the device, the loop's re-read; one
    // past the device's end is not a movie here.
    if (!bytes.holds(a + h)) return state.device ? skip_from(a) : nullptr;
    a += h;
    // Both the size and the type of the next atom must be readable; without
    // the device, an atom past the data is the loop's to re-read.
    const unsigned char* next = bytes.at(a, 8);
    if (!next) break;
    const unsigned char* type = next + 4;
    if (std::memcmp(type, "mdat", 4) == 0) mdat = true;
    if (!continues_movie(type)) break;
  }
  // a is the atom start; s sits kAtomLead past it.
  if (!mdat) return a >= kAtomLead ? go_on_at(s, R, a - kAtomLead) : go_on_at(s, R, 0);
  record_found_file(entry, state, a, base + m - kAtomLead, true);
  return go_on_at(s, R, a - kAtomLead);
}

}  // namespace qf
