// ISO base media files (MP4, 3GP, M4A, QuickTime .mov with a file-type box,
// HEIC/HEIF pictures): a sequence of top-level boxes, each a big-endian 32-bit
// size (the whole box) and a four-letter type; size 1 means a 64-bit size
// follows the type. The header matched is the type "ftyp" of the first box,
// so the file starts 4 bytes earlier. The walk adds up the box sizes, reading
// only the box headers (through carve/file_bytes.h when the file runs past the
// chunk), and the file ends before the first box whose type no such file uses
// at its top level. A movie needs both "moov" and "mdat"; a picture "meta"
// and "mdat". The extension comes from the major brand.
#include <cstring>
#include <string_view>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kBoxLead = 4;  // the size field before the matched type
constexpr std::uint64_t kSmallBox = 8;
constexpr std::uint64_t kLargeBox = 16;
constexpr std::uint64_t kMaxFileTypeBox = 1024;
constexpr int kMaxBoxes = 100000;

bool type_is(const unsigned char* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

bool top_level_box(const unsigned char* type) {
  static const char* const kTypes[] = {"ftyp", "moov", "mdat", "free", "skip", "wide", "uuid", "meta",
                                       "pdin", "moof", "mfra", "sidx", "ssix", "styp", "prft", "emsg",
                                       "udta", "pnot", "PICT", "junk", "beam", "Xtra"};
  for (const char* t : kTypes) {
    if (type_is(type, t)) return true;
  }
  return false;
}

struct brand_suffix {
  const char* prefix;
  const char* suffix;
};

// The extension a major brand implies; anything else is an MP4 file.
const char* suffix_of_brand(const unsigned char* brand) {
  static const brand_suffix kBrands[] = {
      {"3g2", "3g2"},  {"3gp", "3gp"},  {"3ge", "3gp"},  {"3gg", "3gp"},  {"M4A", "m4a"},  {"M4B", "m4a"},
      {"M4V", "m4v"},  {"qt  ", "mov"}, {"heic", "heic"}, {"heix", "heic"}, {"heim", "heic"},
      {"heis", "heic"}, {"hevc", "heic"}, {"mif1", "heif"}, {"msf1", "heif"}, {"avif", "avif"},
      {"avis", "avif"}, {"crx ", "cr3"},
  };
  for (const brand_suffix& b : kBrands) {
    if (std::memcmp(brand, b.prefix, std::strlen(b.prefix)) == 0) return b.suffix;
  }
  return "mp4";
}

bool printable_brand(const unsigned char* brand) {
  for (int i = 0; i < 4; ++i) {
    if (brand[i] < 0x20 || brand[i] > 0x7E) return false;
  }
  return true;
}

struct box_walk {
  std::uint64_t end = 0;  // offset of the first byte after the last box walked
  bool movie = false;     // moov seen
  bool media = false;     // mdat seen
  bool meta = false;      // meta seen
  bool out_of_data = false;
  bool cut = false;  // stopped at a box it could not follow
};

box_walk walk_boxes(file_bytes& bytes, std::uint64_t max_len) {
  box_walk walk;
  std::uint64_t a = 0;
  for (int i = 0; i < kMaxBoxes; ++i) {
    const unsigned char* h = bytes.at(a, kLargeBox);
    if (!h) h = bytes.at(a, kSmallBox);
    if (!h) {
      walk.out_of_data = true;
      break;
    }
    const unsigned char* type = h + 4;
    if (!top_level_box(type)) break;
    std::uint64_t size = be32(h);
    std::uint64_t header = kSmallBox;
    if (size == 1) {
      if (!bytes.at(a, kLargeBox)) break;
      size = (static_cast<std::uint64_t>(be32(h + 8)) << 32) | be32(h + 12);
      header = kLargeBox;
    }
    // Size 0 (the box runs to the end of a file never closed), a size below
    // its own header, or one past the limit cannot be followed: the file is
    // kept to the boxes before, not as whole.
    if (size < header || size > max_len - a) {
      walk.cut = true;
      break;
    }
    const bool movie = type_is(type, "moov"), media = type_is(type, "mdat"), meta = type_is(type, "meta");
    if (!bytes.holds(a + size)) {  // (h is spent once the window moves)
      walk.out_of_data = true;
      break;
    }
    walk.movie |= movie;
    walk.media |= media;
    walk.meta |= meta;
    a += size;
    walk.end = a;
  }
  return walk;
}

}  // namespace

const unsigned char* extract_iso_media(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (base + m < kBoxLead) return go_on_at(s, R, entry.header_len);
  file_bytes bytes = file_bytes::starting_before(state, s, m, R, base, kBoxLead);
  const unsigned char* first = bytes.at(0, 16);
  if (!first) return state.device ? go_on_at(s, R, entry.header_len) : nullptr;
  const std::uint64_t first_size = be32(first);
  if (first_size < 16 || first_size > kMaxFileTypeBox || !printable_brand(first + 8)) {
    return go_on_at(s, R, entry.header_len);
  }
  const std::string_view suffix = suffix_of_brand(first + 8);

  const box_walk walk = walk_boxes(bytes, entry.max_len);
  // Without the device, a file that runs past the data is the loop's to re-read.
  if (walk.out_of_data && !state.device) return nullptr;
  if (!walk.media || !(walk.movie || walk.meta)) return go_on_at(s, R, entry.header_len);

  const std::string kept = entry.suffix;
  entry.suffix = suffix;
  record_found_file(entry, state, walk.end, base + m - kBoxLead, !walk.out_of_data && !walk.cut);
  entry.suffix = kept;
  return go_on_at(s, R, walk.end - kBoxLead);
}

}  // namespace qf
