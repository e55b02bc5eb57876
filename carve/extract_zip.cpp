// ZIP and the office formats stored as ZIP (StarOffice/OpenOffice.org XML,
// OpenDocument, Office Open XML, Java archives). Local file header
// (little-endian):
//   0 "PK" 03 04   6 flags (bit 3: sizes follow the data in a descriptor)
//   18 compressed size C   22 uncompressed size U   26 name length   28 extra length
//   30 name, then the extra field, then C bytes of data.
// End of central directory (EOCD): "PK" 05 06 ... 12 directory size,
// 16 directory offset (from the archive's start), 20 comment length, 22 comment.
// A ZIP64 archive puts 0xFFFFFFFF there; the ZIP64 locator ("PK" 06 07) right
// before the EOCD holds the offset of the ZIP64 EOCD ("PK" 06 06), whose
// 40 directory size and 48 directory offset are 64-bit.
// The archive ends with the first EOCD whose arithmetic fits this archive:
// directory offset + size lands exactly on the EOCD (or on the ZIP64 record)
// and a central-directory header stands at the offset. Another archive's EOCD
// never fits, so a damaged archive cannot swallow the next one: it is cut
// where its local entries stop, or at the next archive on a sector start.
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

constexpr std::uint64_t kMinimumZip = 100;
constexpr std::uint64_t kLocalHeader = 30;
constexpr std::uint64_t kMaxNameLength = 100;
constexpr std::uint64_t kEndRecord = 22;
constexpr std::uint64_t kZip64Locator = 20;
constexpr std::uint16_t kFlagDescriptor = 0x0008;
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;
constexpr std::uint64_t kSector = 512;
constexpr unsigned char kEndSignature[] = {'P', 'K', 5, 6};
constexpr unsigned char kLocalSignature[] = {'P', 'K', 3, 4};

// The stored first entry "mimetype" of a StarOffice XML document, with the
// start of its content.
constexpr std::string_view kOfficeMimetype = "mimetypeapplication/vnd.sun.xml.";

bool bytes_are(const unsigned char* p, std::string_view text) {
  return std::memcmp(p, text.data(), text.size()) == 0;
}

std::string_view office_suffix(const unsigned char* s, std::uint64_t R) {
  const std::uint64_t at = kLocalHeader + kOfficeMimetype.size();
  auto starts = [&](std::string_view word) { return has_bytes(R, at, word.size()) && bytes_are(s + at, word); };
  if (starts("calc")) return "sxc";
  if (starts("impress")) return "sxi";
  if (starts("writer")) return "sxw";
  return "sx";
}

// What an entry's name says about a plain ZIP.
void refine_suffix(std::string& suffix, std::string_view name) {
  if (suffix != "zip") return;
  if (name.substr(0, 11) == "content.xml") {
    suffix = "sx";
  } else if (name.find(".class") != std::string_view::npos || name.find(".jar") != std::string_view::npos ||
             name.find(".java") != std::string_view::npos) {
    suffix = "jar";
  }
}

// The compressed size from a ZIP64 extra field (id 1: the uncompressed size
// first when its 32-bit field is 0xFFFFFFFF, then the compressed size).
bool zip64_compressed(const unsigned char* extra, std::uint64_t length, std::uint32_t U, std::uint64_t& C) {
  for (std::uint64_t at = 0; at + 4 <= length;) {
    const std::uint64_t id = le16(extra + at);
    const std::uint64_t size = le16(extra + at + 2);
    if (id == 1) {
      const std::uint64_t c_at = at + 4 + (U == kZip64Marker ? 8 : 0);
      if (c_at + 8 > at + 4 + size || c_at + 8 > length) return false;
      C = le64(extra + c_at);
      return true;
    }
    at += 4 + size;
  }
  return false;
}

enum class walk_end { entries_done, descriptor, go_on, out_of_data };

struct local_walk {
  walk_end end = walk_end::entries_done;
  std::uint64_t p = 0;  // offset from s where the walk stopped
};

local_walk walk_local_headers(type_spec& entry, file_bytes& bytes) {
  local_walk walk;
  std::uint64_t& p = walk.p;
  for (;;) {
    const unsigned char* h = bytes.at(p, kLocalHeader);
    if (!h) return {walk_end::out_of_data, p};
    if (std::memcmp(h, kLocalSignature, 4) != 0) return walk;
    std::uint64_t C = le32(h + 18);
    const std::uint32_t U = le32(h + 22);
    const std::uint64_t name_length = le16(h + 26);
    const std::uint64_t extra_length = le16(h + 28);
    const bool descriptor = (le16(h + 6) & kFlagDescriptor) && C == 0 && U == 0;
    if (name_length > kMaxNameLength) return {walk_end::go_on, p + entry.header_len};
    const unsigned char* name = bytes.at(p + kLocalHeader, name_length + extra_length);
    if (!name) return {walk_end::out_of_data, p};
    refine_suffix(entry.suffix, std::string_view(reinterpret_cast<const char*>(name), name_length));
    if (C == kZip64Marker && !zip64_compressed(name + name_length, extra_length, U, C)) {
      return {walk_end::go_on, p + entry.header_len};
    }
    if (C > entry.max_len) return {walk_end::go_on, p + entry.header_len};
    p += kLocalHeader + name_length + extra_length + C;
    if (descriptor) return {walk_end::descriptor, p};
  }
}

// The end of the archive when the EOCD at `e` belongs to it; 0 otherwise.
std::uint64_t fitting_end(file_bytes& bytes, std::uint64_t e) {
  const unsigned char* r = bytes.at(e, kEndRecord);
  if (!r) return 0;
  const std::uint64_t end = e + kEndRecord + le16(r + 20);
  std::uint64_t directory_size = le32(r + 12);
  std::uint64_t directory = le32(r + 16);
  // (r is spent once the window moves: every field is read above.)
  if (!bytes.holds(end)) return 0;  // the comment runs past the device's end
  std::uint64_t directory_end = e;
  if (directory == kZip64Marker || directory_size == kZip64Marker) {
    if (e < kZip64Locator) return 0;
    const unsigned char* locator = bytes.at(e - kZip64Locator, kZip64Locator);
    if (!locator || !bytes_are(locator, "PK\x06\x07")) return 0;
    directory_end = le64(locator + 8);
    const unsigned char* record = directory_end < e ? bytes.at(directory_end, 56) : nullptr;
    if (!record || !bytes_are(record, "PK\x06\x06")) return 0;
    directory_size = le64(record + 40);
    directory = le64(record + 48);
  }
  if (directory > directory_end || directory_end - directory != directory_size) return 0;
  if (directory_size > 0) {
    const unsigned char* first = bytes.at(directory, 4);
    if (!first || !bytes_are(first, "PK\x01\x02")) return 0;
  }
  return end;
}

// The first EOCD from `from` that fits the archive, within the type's limit.
std::uint64_t find_end(file_bytes& bytes, std::uint64_t from, std::uint64_t max_len) {
  while (from < max_len) {
    const std::uint64_t e = bytes.find(from, max_len - from, kEndSignature, sizeof kEndSignature);
    if (e == file_bytes::kNotFound) break;
    const std::uint64_t end = fitting_end(bytes, e);
    if (end != 0 && end <= max_len) return end;
    from = e + 1;
  }
  return 0;
}

// Where a damaged archive is cut: the next local header on a sector start of
// the device (another file begins there), or where its own entries stopped.
std::uint64_t damaged_end(file_bytes& bytes, std::uint64_t start, std::uint64_t walked) {
  const std::uint64_t first = (start / kSector + 1) * kSector - start;
  for (std::uint64_t at = first; at < walked; at += kSector) {
    const unsigned char* p = bytes.at(at, 4);
    if (!p) return at;
    if (std::memcmp(p, kLocalSignature, 4) == 0) return at;
  }
  return walked;
}

}  // namespace

const unsigned char* extract_zip(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < kMinimumZip && !state.device) return nullptr;
  if (!has_bytes(R, 0, kLocalHeader + kOfficeMimetype.size())) return go_on_at(s, R, entry.header_len);
  const bool office = bytes_are(s + kLocalHeader, kOfficeMimetype);
  entry.suffix = office ? office_suffix(s, R) : "zip";

  file_bytes bytes(state, s, R, base + m);
  const local_walk walk = walk_local_headers(entry, bytes);
  if (walk.end == walk_end::go_on) return go_on_at(s, R, walk.p);
  // Without the device, an archive running past the data is the loop's to re-read.
  if (walk.end == walk_end::out_of_data && !state.device) return R < entry.max_len ? nullptr : go_on_at(s, R, walk.p);

  const std::uint64_t from = walk.end == walk_end::out_of_data ? kLocalHeader : walk.p;
  std::uint64_t end = find_end(bytes, from, entry.max_len);
  bool whole = end != 0;
  if (!whole) {
    if (!state.device && R < entry.max_len) return nullptr;
    if (walk.p <= kLocalHeader) return go_on_at(s, R, entry.header_len);
    end = bytes.held_up_to(damaged_end(bytes, base + m, walk.p < entry.max_len ? walk.p : entry.max_len));
    if (end <= kLocalHeader) return go_on_at(s, R, entry.header_len);
  }
  if (entry.filter == "all" || entry.suffix == entry.filter) record_found_file(entry, state, end, base + m, whole);
  return go_on_at(s, R, whole ? end - 2 : end);
}

}  // namespace qf
