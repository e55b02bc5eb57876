// ZIP and the office formats stored as ZIP (StarOffice/OpenOffice.org XML,
// OpenDocument, Java archives). Local file header (little-endian):
//   0 "PK" 03 04   6 flags (bit 3: sizes follow the data in a descriptor)
//   18 compressed size C   22 uncompressed size U   26 name length   28 extra length
//   30 name, then the extra field, then C bytes of data.
// End of central directory: "PK" 05 06 ... 20 comment length, 22 comment.
// The walk over the local headers only finds where the data ends; the file
// ends with the end-of-central-directory record found after it.
#include <cstring>
#include <string_view>

#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/scan_loop_search.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kMinimumZip = 100;
constexpr std::uint64_t kLocalHeader = 30;
constexpr std::uint64_t kMaxNameLength = 100;
constexpr std::uint64_t kOfficeFooterWindow = 1048576;
constexpr std::uint64_t kEndRecord = 22;
constexpr std::uint16_t kFlagDescriptor = 0x0008;

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

enum class walk_end { entries_done, descriptor, go_on, give_up };

struct local_walk {
  walk_end end = walk_end::entries_done;
  std::uint64_t p = 0;  // offset from s where the walk stopped
};

local_walk walk_local_headers(type_spec& entry, const unsigned char* s, std::uint64_t R) {
  local_walk walk;
  std::uint64_t& p = walk.p;
  for (;;) {
    // A header cut by the end of the data: the file goes on past what is held.
    if (!has_bytes(R, p, 4)) return {walk_end::give_up, p};
    if (s[p + 2] != 0x03 || s[p + 3] != 0x04) return walk;
    if (!has_bytes(R, p, kLocalHeader)) return {walk_end::give_up, p};
    const unsigned char* h = s + p;
    const std::uint64_t C = le32(h + 18);
    const std::uint64_t U = le32(h + 22);
    const std::uint64_t name_length = le16(h + 26);
    const std::uint64_t extra_length = le16(h + 28);
    if (name_length > kMaxNameLength || C > entry.max_len) return {walk_end::go_on, p + entry.header_len};
    const std::uint64_t whole = kLocalHeader + name_length + extra_length + C;
    if (!has_bytes(R, p, whole)) return {walk_end::give_up, p};
    refine_suffix(entry.suffix,
                  std::string_view(reinterpret_cast<const char*>(h + kLocalHeader), name_length));
    p += whole;
    if ((le16(h + 6) & kFlagDescriptor) && C == 0 && U == 0) return {walk_end::descriptor, p};
  }
}

}  // namespace

const unsigned char* extract_zip(carve_state& state, type_spec& entry, const unsigned char* s,
                                 std::uint64_t m, std::uint64_t R, std::uint64_t base,
                                 std::string_view filter) {
  if (R < kMinimumZip) return nullptr;
  const bool office = bytes_are(s + kLocalHeader, kOfficeMimetype);
  entry.suffix = office ? office_suffix(s, R) : "zip";

  const local_walk walk = walk_local_headers(entry, s, R);
  if (walk.end == walk_end::give_up) return nullptr;
  if (walk.end == walk_end::go_on) return go_on_at(s, R, walk.p);

  // How far the end record may lie after the data: an office document keeps
  // its central directory small; after a descriptor the data's length is
  // unknown, so up to the type's limit; otherwise anywhere in the data held.
  const std::uint64_t left = R - walk.p;
  const std::uint64_t wanted = office ? kOfficeFooterWindow : entry.max_len;
  const std::uint64_t window = left < wanted ? left : wanted;
  const unsigned char* e = find_footer(entry, s + walk.p, office || walk.end == walk_end::descriptor ? window : left);
  if (!e) {
    // Not within a full window: no end record belongs to this header. Within
    // a window cut short by the end of the data, the file may cross it.
    return left >= wanted ? go_on_at(s, R, walk.p) : nullptr;
  }
  const std::uint64_t at = static_cast<std::uint64_t>(e - s);
  if (!has_bytes(R, at, kEndRecord)) return nullptr;
  const std::uint64_t end = at + kEndRecord + le16(e + 20);
  if (end > R) return nullptr;  // the comment runs past the data held
  if (filter == "all" || entry.suffix == filter) record_found_file(entry, state, end, base + m);
  return go_on_at(s, R, end - 2);
}

}  // namespace qf
