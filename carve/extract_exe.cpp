// Windows programs and libraries (PE). Layout (little-endian):
//   MZ header: 60 offset e of the PE header
//   PE header at e: "PE" 00 00, then the file header:
//     e + 6 section count   e + 20 optional-header size   e + 22 characteristics
//   optional header at e + 24 (224 bytes in PE32, 240 in PE32+)
//   section table right after it, 40 bytes per section:
//     +16 raw-data size   +20 raw-data pointer
// The file ends where the last section's raw data ends; data appended after
// the sections (overlays, signatures, COFF symbols) is not part of the carve.
#include <string>

#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kMinimumExe = 100;
constexpr std::uint64_t kPeOffsetField = 60;
constexpr std::uint64_t kMaxPeOffset = 1000;
constexpr std::uint64_t kFileHeaderEnd = 24;  // "PE" 00 00 and the 20-byte file header
constexpr std::uint64_t kSectionEntry = 40;
constexpr std::uint16_t kCharExecutable = 0x0002;
constexpr std::uint16_t kCharSystem = 0x1000;
constexpr std::uint16_t kCharDll = 0x2000;
constexpr std::uint64_t kMinimumSize = 512;
constexpr std::uint64_t kMaximumSize = 4194304;

}  // namespace

const unsigned char* extract_exe(carve_state& state, type_spec& entry, const unsigned char* s,
                                 std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  if (R < kMinimumExe) return go_on_at(s, R, 2);
  const std::uint64_t e = le16(s + kPeOffsetField);
  if (e == 0 || e > kMaxPeOffset || e > R) return go_on_at(s, R, kPeOffsetField);
  if (!has_bytes(R, e, kFileHeaderEnd) || s[e] != 'P' || s[e + 1] != 'E') return go_on_at(s, R, e);

  // The section table follows the optional header, whose size the file
  // header states: 224 bytes for 32-bit programs, 240 for 64-bit ones.
  const std::uint64_t sections = le16(s + e + 6);
  const std::uint64_t table = e + kFileHeaderEnd + le16(s + e + 20);
  if (!has_bytes(R, table, sections * kSectionEntry)) return go_on_at(s, R, e);

  const std::uint16_t characteristics = le16(s + e + 22);
  const bool dll = (characteristics & kCharDll) != 0;
  if (!dll && !(characteristics & (kCharSystem | kCharExecutable))) return go_on_at(s, R, e);

  std::uint64_t size = 0;
  if (sections > 0) {
    const unsigned char* last = s + table + (sections - 1) * kSectionEntry;
    size = static_cast<std::uint64_t>(le32(last + 20)) + le32(last + 16);
  }
  const std::uint64_t table_end = table + sections * kSectionEntry;
  if (size < kMinimumSize || size > kMaximumSize) return go_on_at(s, R, table_end + 60);
  // A program that runs past the data held crosses its end: let the scan loop
  // re-read it at the type's limit rather than record it cut short.
  if (size > R) {
    if (R < entry.max_len) return nullptr;
    size = R;
  }

  if (dll) {
    const std::string kept = entry.suffix;
    entry.suffix = "dll";
    record_found_file(entry, state, size, base + m);
    entry.suffix = kept;
  } else {
    record_found_file(entry, state, size, base + m);
  }
  return go_on_at(s, R, size);
}

}  // namespace qf
