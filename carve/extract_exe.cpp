// Windows programs and libraries (PE). Layout (little-endian):
//   MZ header: 60 offset e of the PE header
//   PE header at e: "PE" 00 00, then the file header:
//     e + 6 section count   e + 12 symbol table offset   e + 16 symbol count
//     e + 20 optional-header size   e + 22 characteristics
//   optional header at e + 24: magic 0x10B (PE32) or 0x20B (PE32+); its data
//     directories start at 96 (PE32) or 112 (PE32+), 8 bytes each; the
//     fifth is the certificate table (file offset and size)
//   section table right after it, 40 bytes per section:
//     +16 raw-data size   +20 raw-data pointer
// The file ends at the furthest of: the end of any section's raw data, the
// COFF symbol table (18 bytes per symbol) with the string table after it
// (its first 4 bytes give its length), and the certificate table, each
// bounded by the type's limit.
#include <string>

#include "carve/extract_bytes.h"
#include "carve/carve_state.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
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
constexpr std::uint64_t kSymbolSize = 18;
constexpr std::uint16_t kMagicPe32 = 0x10B, kMagicPe32Plus = 0x20B;
constexpr std::uint64_t kCertificateDirectory = 4;

std::uint64_t furthest(std::uint64_t a, std::uint64_t b) { return a > b ? a : b; }

// The furthest section end, or 0 with a section past the limit.
std::uint64_t sections_end(const unsigned char* table, std::uint64_t sections, std::uint64_t limit) {
  std::uint64_t end = 0;
  for (std::uint64_t i = 0; i < sections; ++i) {
    const unsigned char* section = table + i * kSectionEntry;
    const std::uint64_t raw = le32(section + 16);
    if (raw == 0) continue;
    const std::uint64_t section_end = static_cast<std::uint64_t>(le32(section + 20)) + raw;
    if (section_end > limit) return 0;
    end = furthest(end, section_end);
  }
  return end;
}

// The end of the symbol table and its string table; 0 without one, or when
// it cannot be read or lies past the limit.
std::uint64_t symbols_end(file_bytes& bytes, const unsigned char* pe, std::uint64_t limit) {
  const std::uint64_t at = le32(pe + 12);
  const std::uint64_t count = le32(pe + 16);
  if (at == 0 || count == 0) return 0;
  const std::uint64_t strings = at + count * kSymbolSize;
  const unsigned char* length = strings < limit ? bytes.at(strings, 4) : nullptr;
  if (!length) return 0;
  const std::uint64_t end = strings + (le32(length) >= 4 ? le32(length) : 4);
  return end <= limit ? end : 0;
}

// The end of the certificate table (a signature), or 0.
std::uint64_t certificate_end(const unsigned char* s, std::uint64_t R, std::uint64_t optional,
                              std::uint64_t optional_size, std::uint64_t limit) {
  if (!has_bytes(R, optional, 2)) return 0;
  const std::uint16_t magic = le16(s + optional);
  const std::uint64_t directories = magic == kMagicPe32 ? 96 : magic == kMagicPe32Plus ? 112 : 0;
  const std::uint64_t entry = directories + kCertificateDirectory * 8;
  if (directories == 0 || entry + 8 > optional_size || !has_bytes(R, optional + entry, 8)) return 0;
  const std::uint64_t end = static_cast<std::uint64_t>(le32(s + optional + entry)) + le32(s + optional + entry + 4);
  return end <= limit ? end : 0;
}

}  // namespace

const unsigned char* extract_exe(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
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

  const std::uint64_t table_end = table + sections * kSectionEntry;
  file_bytes bytes(state, s, R, base + m);
  const std::uint64_t optional = e + kFileHeaderEnd;
  std::uint64_t size = sections_end(s + table, sections, entry.max_len);
  if (size != 0) {
    size = furthest(size, symbols_end(bytes, s + e, entry.max_len));
    size = furthest(size, certificate_end(s, R, optional, le16(s + e + 20), entry.max_len));
  }
  if (size < kMinimumSize) return go_on_at(s, R, table_end + 60);
  // A program that runs past the data held crosses its end: without the
  // device the scan loop re-reads it at the type's limit.
  if (size > R && !state.device) return R < entry.max_len ? nullptr : go_on_at(s, R, table_end + 60);
  if (!bytes.holds(size)) return go_on_at(s, R, table_end + 60);

  if (dll) {
    const std::string kept = entry.suffix;
    entry.suffix = "dll";
    record_found_file(entry, state, size, base + m, true);
    entry.suffix = kept;
  } else {
    record_found_file(entry, state, size, base + m, true);
  }
  return go_on_at(s, R, size);
}

}  // namespace qf
