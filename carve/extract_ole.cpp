// OLE compound document (Word, Excel, PowerPoint, Access, Visio, StarOffice
// and other OLE2 files). Layout of the 512-byte header (little-endian):
//   30 sector shift (9: 512-byte sectors)   32 mini-sector shift (6)
//   34 reserved 16 bits, 36 and 40 reserved 32 bits (directory sector count, 0 in version 3)
//   44 FAT sector count F                   48 first directory sector
//   56 mini-stream cutoff                   60 first mini-FAT sector   64 mini-FAT sector count
//   68 first DIFAT sector                   72 DIFAT sector count
//   76 the first 109 FAT sector numbers
// Sector k is the 512 bytes at (k + 1) x 512: the header is sector -1. A FAT
// sector holds 128 next-sector numbers; -2 ends a chain. A directory sector
// holds four 128-byte entries: name (UTF-16, 64 bytes) at 0, name length in
// bytes at 64, type at 66 (0 unused, 1 storage, 2 stream, 5 root), stream
// size at 120. The file ends with the last sector its FAT marks as used.
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "carve/carve_state.h"
#include "carve/extract_bytes.h"
#include "carve/extractor.h"
#include "carve/file_bytes.h"
#include "carve/found_file.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

constexpr std::uint64_t kSector = 512;
constexpr std::uint32_t kEntriesPerFatSector = 128;
constexpr std::uint32_t kHeaderFatEntries = 109;
constexpr std::uint32_t kEntriesPerDifatSector = 127;  // the 128th names the next DIFAT sector
constexpr std::uint32_t kMaxFatSectors = 4096;  // files up to 256 MiB
constexpr std::uint32_t kMaxDifatSectors = 40;
constexpr int kMaxDirectorySteps = 301;
constexpr std::size_t kMaxEntries = 500;
constexpr std::uint64_t kEntrySize = 128;
constexpr std::int32_t kEndOfChain = -2;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;

// Why a parse step stopped short.
enum class ole_stop {
  none,
  go_on,    // not an OLE file we can size: go on at the step's position
  give_up,  // the file reaches past the bytes held: let the scan loop re-read
};

struct directory_entry {
  std::string name;
  std::uint32_t size = 0;
  unsigned char type = 0;
};

// The bytes of one parse: sectors inside the R bytes held, and past them
// from the device (carve/file_bytes.h) within the type's limit. A sector's bytes stay valid until the next read.
class sector_reader {
 public:
  sector_reader(file_bytes& bytes, std::uint64_t max_len) : bytes_(bytes), max_len_(max_len) {}

  // Sector `k`, or null with `why` saying whether it lies beyond the data
  // but within the type's limit (the file crosses the end of what is held),
  // or cannot belong to a file of this type at all.
  const unsigned char* sector(std::int64_t k, ole_stop& why) {
    if (k < -1) {
      why = ole_stop::go_on;
      return nullptr;
    }
    const std::uint64_t start = static_cast<std::uint64_t>(k + 1) * kSector;
    const unsigned char* bytes = has_bytes(max_len_, start, kSector) ? bytes_.at(start, kSector) : nullptr;
    if (!bytes) {
      why = has_bytes(max_len_, start, kSector) ? ole_stop::give_up : ole_stop::go_on;
      return nullptr;
    }
    return bytes;
  }

 private:
  file_bytes& bytes_;
  std::uint64_t max_len_;
};

struct ole_header {
  std::uint32_t fat_sectors = 0;    // F
  std::int32_t first_difat = 0;
  std::uint32_t difat_sectors = 0;
  std::int32_t first_directory = 0;  // v
  std::uint32_t mini_cutoff = 0;     // c
  std::int64_t mini_fat_start = 0;   // n (signed: -2 when there is no mini-FAT)
  std::uint32_t mini_fat_sectors = 0;  // f
};

// Version 3 files with 512-byte sectors only; reserved fields must be zero.
bool read_header(const unsigned char* s, ole_header& h) {
  if (le16(s + 30) != 9 || le16(s + 32) != 6 || le16(s + 34) != 0 || le32(s + 36) != 0 || le32(s + 40) != 0) {
    return false;
  }
  h.fat_sectors = le32(s + 44);
  h.difat_sectors = le32(s + 72);
  if (h.fat_sectors < 1 || h.fat_sectors > kMaxFatSectors || h.difat_sectors > kMaxDifatSectors) return false;
  h.first_difat = static_cast<std::int32_t>(le32(s + 68));
  h.first_directory = static_cast<std::int32_t>(le32(s + 48));
  h.mini_cutoff = le32(s + 56);
  h.mini_fat_start = static_cast<std::int32_t>(le32(s + 60));
  h.mini_fat_sectors = le32(s + 64);
  return true;
}

// The FAT sector numbers: 109 from the header, the rest from the DIFAT chain.
class fat_table {
 public:
  // False when the list cannot be allocated.
  bool allocate(std::uint32_t fat_sectors) {
    capacity_ = (static_cast<std::size_t>(fat_sectors) + 1) * kEntriesPerFatSector;
    list_.reset(new (std::nothrow) std::int32_t[capacity_]);
    if (!list_) return false;
    std::memset(list_.get(), 0xFF, capacity_ * sizeof(std::int32_t));
    fat_sectors_ = fat_sectors;
    return true;
  }
  void fill(std::size_t from, const unsigned char* numbers, std::size_t count) {
    for (std::size_t i = 0; i < count && from + i < capacity_; ++i) {
      list_[from + i] = static_cast<std::int32_t>(le32(numbers + 4 * i));
    }
  }

  // The FAT entry of sector `v` (its successor in its chain).
  bool next(sector_reader& reader, std::int64_t v, std::int32_t& next, ole_stop& why) {
    const std::uint64_t index = static_cast<std::uint64_t>(v) / kEntriesPerFatSector;
    if (index >= fat_sectors_) {
      why = ole_stop::go_on;  // a sector no FAT sector of this file describes
      return false;
    }
    if (static_cast<std::int64_t>(index) != loaded_index_) {
      const unsigned char* sector = reader.sector(list_[index], why);
      if (!sector) return false;
      std::memcpy(loaded_.data(), sector, kSector);
      loaded_index_ = static_cast<std::int64_t>(index);
    }
    next = static_cast<std::int32_t>(le32(loaded_.data() + 4 * (static_cast<std::uint64_t>(v) % kEntriesPerFatSector)));
    return true;
  }

  // The highest sector the FAT marks as used (anything but free), or -1.
  // `why` is set when a FAT sector cannot be read.
  std::int64_t last_used(sector_reader& reader, ole_stop& why) const {
    for (std::uint32_t i = fat_sectors_; i-- > 0;) {
      why = ole_stop::go_on;
      const unsigned char* sector = list_[i] >= 0 ? reader.sector(list_[i], why) : nullptr;
      if (!sector) return -2;
      for (std::uint32_t j = kEntriesPerFatSector; j-- > 0;) {
        if (le32(sector + 4 * j) != kFreeSector) return static_cast<std::int64_t>(i) * kEntriesPerFatSector + j;
      }
    }
    return -1;
  }

 private:
  std::unique_ptr<std::int32_t[]> list_;
  std::size_t capacity_ = 0;
  std::uint32_t fat_sectors_ = 0;
  std::int64_t loaded_index_ = -1;
  std::array<unsigned char, kSector> loaded_{};
};

// Reads the DIFAT chain into the FAT list; `pos` follows the last sector read.
ole_stop read_difat(sector_reader& reader, const ole_header& h, fat_table& fat, std::uint64_t& pos) {
  std::int64_t sector = h.first_difat;
  if (sector <= 0) return ole_stop::none;
  for (std::uint32_t i = 0; i < h.difat_sectors; ++i) {
    ole_stop why = ole_stop::none;
    const unsigned char* bytes = reader.sector(sector, why);
    if (!bytes) return why;
    fat.fill(kHeaderFatEntries + static_cast<std::size_t>(kEntriesPerDifatSector) * i, bytes,
             kEntriesPerDifatSector);
    pos = static_cast<std::uint64_t>(sector + 1) * kSector;
    sector = static_cast<std::int32_t>(le32(bytes + 4 * kEntriesPerDifatSector));
  }
  return ole_stop::none;
}

int used_entries(const unsigned char* sector) {
  int used = 0;
  for (std::uint64_t e = 0; e < 4; ++e) used += sector[e * kEntrySize + 66] != 0;
  return used;
}

// Walks the directory chain from `v` while every entry of a sector is in use;
// `extra` counts the directory sectors after the first.
ole_stop measure_directory(sector_reader& reader, fat_table& fat, std::int64_t v, int& extra) {
  for (int step = 0; step < kMaxDirectorySteps; ++step) {
    ole_stop why = ole_stop::go_on;
    std::int32_t next = 0;
    if (!fat.next(reader, v, next, why)) return why;
    if (next == kEndOfChain || next == v) return ole_stop::none;
    if (next < 0) return ole_stop::go_on;
    const unsigned char* bytes = reader.sector(next, why);
    if (!bytes) return why;
    if (bytes[0] == 0) return ole_stop::go_on;
    const int used = used_entries(bytes);
    ++extra;
    v = next;
    if (used != 4) return ole_stop::none;
  }
  return ole_stop::go_on;
}

// The printable bytes of an entry's UTF-16 name; a leading control character
// ("\x05SummaryInformation", "\x01CompObj") is dropped.
std::string entry_name(const unsigned char* e, std::uint32_t name_bytes) {
  std::string name;
  std::uint32_t i = e[0] < 32 && e[1] == 0 ? 2 : 0;
  for (; i < name_bytes; ++i) {
    if (e[i] >= 0x20 && e[i] <= 0x7E) name.push_back(static_cast<char>(e[i]));
  }
  return name;
}

bool plausible_name(const std::string& name) {
  int punctuation = 0;
  for (char c : name) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    punctuation += !alnum && c != ' ';
  }
  return punctuation <= 3 && name.find("Catalog") == std::string::npos;
}

// Parses the four entries of one directory sector. False on an implausible
// entry; `done` is set by the first unused entry or the entry limit.
bool parse_sector(const unsigned char* bytes, std::vector<directory_entry>& entries, bool& done) {
  for (std::uint64_t k = 0; k < 4; ++k) {
    const unsigned char* e = bytes + k * kEntrySize;
    const unsigned char type = e[66];
    if (type == 0) {
      done = true;
      return true;
    }
    const std::uint32_t name_bytes = le16(e + 64);
    if (type >= 128 || name_bytes == 0 || name_bytes > 64) return false;
    directory_entry entry{entry_name(e, name_bytes), le32(e + 120), type};
    if (!plausible_name(entry.name)) return false;
    entries.push_back(std::move(entry));
    if (entries.size() >= kMaxEntries) {
      done = true;
      return true;
    }
  }
  return true;
}

ole_stop parse_directory(sector_reader& reader, fat_table& fat, std::int64_t v, int sectors,
                         std::vector<directory_entry>& entries) {
  for (int i = 0; i < sectors; ++i) {
    ole_stop why = ole_stop::go_on;
    const unsigned char* bytes = reader.sector(v, why);
    if (!bytes) return why;
    bool done = false;
    if (!parse_sector(bytes, entries, done)) return ole_stop::go_on;
    if (done || i + 1 == sectors) break;
    std::int32_t next = 0;
    if (!fat.next(reader, v, next, why)) return why;
    if (next < 0) break;
    v = next;
  }
  return ole_stop::none;
}

// The suffix the streams' names stand for: the first keyword (in this order)
// that any name contains.
std::string decide_suffix(const std::vector<directory_entry>& entries) {
  static const std::array<std::pair<const char*, const char*>, 9> keywords{{
      {"WordDocument", "doc"},
      {"Worksheet", "xls"},
      {"Book", "xls"},
      {"Workbook", "xls"},
      {"Power", "ppt"},
      {"Access", "mbd"},
      {"AccessObjSiteData", "mbd"},
      {"Visio", "vis"},
      {"Sfx", "sdw"},
  }};
  for (const auto& [word, suffix] : keywords) {
    for (const directory_entry& e : entries) {
      if (e.name.find(word) != std::string::npos) return suffix;
    }
  }
  return "ole";
}

struct ole_size {
  std::uint64_t size = 0;
  std::uint64_t next = 0;  // where the search goes on
  bool whole = false;      // the FAT gave the size
};

// The file ends with the last sector its FAT marks as used: every stream,
// the directory and the FAT itself lie in sectors the FAT accounts for.
ole_size size_from_fat(std::int64_t last_used, std::uint64_t max_len) {
  ole_size result;
  const std::uint64_t end = static_cast<std::uint64_t>(last_used + 2) * kSector;
  result.whole = end <= max_len;
  result.size = result.whole ? end : max_len;
  result.next = result.size;
  return result;
}

// Without the device a file past the data is the loop's to re-read; with it,
// a sector out of reach means the file is not whole here.
const unsigned char* stop_at(const carve_state& state, ole_stop why, const unsigned char* s, std::uint64_t R,
                             std::uint64_t offset) {
  return why == ole_stop::give_up && !state.device ? nullptr : go_on_at(s, R, offset);
}

}  // namespace

const unsigned char* extract_ole(const header_match& match) {
  auto [state, entry, s, m, R, base] = match;
  if (R < kSector) return nullptr;  // the header sector itself is not all here
  std::uint64_t pos = kSector;
  ole_header h;
  if (!read_header(s, h)) return go_on_at(s, R, pos);

  fat_table fat;
  if (!fat.allocate(h.fat_sectors)) {
    carve_note(state, "Can't malloc " + std::to_string((h.fat_sectors + 1) * 512u) + " bytes.");
    return nullptr;
  }
  fat.fill(0, s + 76, kHeaderFatEntries);
  file_bytes bytes(state, s, R, base + m);
  sector_reader reader(bytes, entry.max_len);
  if (ole_stop why = read_difat(reader, h, fat, pos); why != ole_stop::none) return stop_at(state, why, s, R, pos);

  std::int64_t v = h.first_directory;
  if (v < 0) return go_on_at(s, R, 4);
  ole_stop why = ole_stop::none;
  if (!reader.sector(v, why)) return stop_at(state, why, s, R, pos);
  const std::uint64_t off = static_cast<std::uint64_t>(v + 1) * kSector;

  int extra = 0;
  if (why = measure_directory(reader, fat, v, extra); why != ole_stop::none) return stop_at(state, why, s, R, off);
  std::vector<directory_entry> entries;
  if (why = parse_directory(reader, fat, v, extra + 1, entries); why != ole_stop::none) {
    return stop_at(state, why, s, R, off);
  }
  for (const directory_entry& e : entries) {
    if (!e.name.empty() && e.name[0] == '@') return go_on_at(s, R, off);
  }

  const std::int64_t last_used = fat.last_used(reader, why);
  if (last_used < -1) return stop_at(state, why, s, R, off);
  if (last_used < 0) return go_on_at(s, R, off);
  ole_size size = size_from_fat(last_used, entry.max_len);
  if (!bytes.holds(size.size)) {
    // The FAT counts sectors past the end of the data or the device: the
    // file is not whole here.
    if (!state.device && R < entry.max_len) return nullptr;
    size.size = bytes.held_up_to(size.size) / kSector * kSector;
    size.next = size.size;
    size.whole = false;
    if (size.size == 0) return go_on_at(s, R, off);
  }
  entry.suffix = decide_suffix(entries);
  if (filter_allows(entry.filter, entry.suffix)) record_found_file(entry, state, size.size, base + m, size.whole);
  return go_on_at(s, R, size.next);
}

}  // namespace qf
