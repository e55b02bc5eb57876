#pragma once
// The file types a scan looks for: one type_spec per selected -t name, held in
// the process-wide type_spec_table (filled from index 0 at every scan).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "carve/extractor.h"
#include "carve/skip_table.h"

namespace qf {

struct cdr_node;

// type_code values: they name the type (the extractor is the descriptor's). 23 is never produced.
enum type_code : int {
  kCodeJpeg = 0,
  kCodeGif = 1,
  kCodeBmp = 2,
  kCodeMpeg = 3,
  kCodePdf = 4,
  kCodeDoc = 5,
  kCodeAvi = 6,
  kCodeWmv = 7,
  kCodeHtml = 8,
  kCodeZip = 9,
  kCodeMov = 10,
  kCodeXls = 11,
  kCodePpt = 12,
  kCodeWpd = 13,
  kCodeCpp = 14,
  kCodeOle = 15,
  kCodeGzip = 16,
  kCodeRif = 17,
  kCodeWav = 18,
  kCodeVjpeg = 19,
  kCodeSxw = 20,
  kCodeSxc = 21,
  kCodeSxi = 22,
  kCodePng = 24,
  kCodeRar = 25,
  kCodeExe = 26,
  kCodeElf = 27,
  kCodeReg = 28,
  kCodeIsoMedia = 29,  // MP4, 3GP, M4A, MOV and HEIC files that open with a file-type box
  kCodeWebp = 30,
  kCodeMp3 = 31,
  kCodeOgg = 32,
  kCodeAmr = 33,
};

constexpr std::uint64_t kMiB = 1048576;
constexpr int kMaxMarkers = 5;
constexpr int kTypeSpecCapacity = 50;

struct type_marker {
  std::vector<unsigned char> bytes;
  unsigned length = 0;
  skip_table skip{};
};

struct type_spec {
  std::string suffix;  // extension of found-file names; extractors may change it
  int type_code = 0;
  extractor_fn extractor = nullptr;  // null: the type is searched, never carved
  std::string_view filter = "all";  // the suffixes this entry records (see filter_allows)
  std::string_view search_suffix;  // when set, the suffix every extractor call starts from
  std::uint64_t max_len = 0;  // largest file the type may produce
  std::vector<unsigned char> header;
  unsigned header_len = 0;
  skip_table header_skip{};
  std::vector<unsigned char> footer;
  unsigned footer_len = 0;  // 0 when the type has no footer
  skip_table footer_skip{};
  std::array<type_marker, kMaxMarkers> markers{};
  int marker_count = 0;
  int case_sensitive = 1;  // 0: ASCII letters compare without regard to case
  int found = 0;    // files recorded for this entry in this scan
  int written = 0;  // 1 once a file is recorded; cleared before each header search
  cdr_node* folder = nullptr;  // this entry's file-type folder
};

// Process-wide; carve_state::type_count says how many entries are live.
extern std::array<type_spec, kTypeSpecCapacity> type_spec_table;

}  // namespace qf
