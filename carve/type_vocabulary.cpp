#include "carve/type_vocabulary.h"

#include <string>

#include "carve/type_spec.h"

namespace qf {
namespace {

using namespace std::string_view_literals;

// The compound-document signature: D0 CF 11 E0 A1 B1 1A E1 and eight zero bytes.
constexpr auto kOleHeader = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0\0\0\0\0"sv;
constexpr auto kZipHeader = "PK\x03\x04"sv;
constexpr auto kZipFooter = "PK\x05\x06"sv;  // end of central directory
constexpr auto kRiffHeader = "RIFF"sv;
constexpr auto kRiffFooter = "INFO"sv;

const type_definition kJpg{"jpg", kCodeJpeg, 20 * kMiB, "\xFF\xD8\xFF"sv, "\xFF\xD9"sv, {}, 1};
const type_definition kGif{"gif", kCodeGif, 1 * kMiB, "GIF8"sv, "\x00\x3B"sv, {"\x00\x00\x3B"sv}, 1};
const type_definition kBmp{"bmp", kCodeBmp, 2 * kMiB, "BM"sv, {}, {}, 1};
const type_definition kMpg{"mpg", kCodeMpeg, 50 * kMiB, "\x00\x00\x01\xBA"sv, "\x00\x00\x01\xB9"sv,
                           {"\x00\x00\x01"sv}, 1};
const type_definition kPdf{"pdf", kCodePdf, 20 * kMiB, "%PDF-1."sv, "%%EOF"sv,
                           {"/L "sv, "obj"sv, "/Linearized"sv, "/Length"sv}, 1};
const type_definition kDoc{"doc", kCodeDoc, 20 * kMiB, kOleHeader, {}, {}, 1};
const type_definition kAvi{"avi", kCodeAvi, 20 * kMiB, kRiffHeader, kRiffFooter, {}, 1};
// ASF header object id, and the start of the file-properties object id.
const type_definition kWmv{"wmv", kCodeWmv, 20 * kMiB, "\x30\x26\xB2\x75\x8E\x66\xCF\x11"sv,
                           "\xA1\xDC\xAB\x8C\x47\xA9"sv, {}, 1};
const type_definition kHtm{"htm", kCodeHtml, 1 * kMiB, "<html"sv, "</html>"sv, {}, 0};
const type_definition kZip{"zip", kCodeZip, 100 * kMiB, kZipHeader, kZipFooter, {}, 1};
const type_definition kMov{"mov", kCodeMov, 40 * kMiB, "moov"sv, {}, {}, 1};
const type_definition kXls{"xls", kCodeXls, 10 * kMiB, kOleHeader, {}, {}, 1};
const type_definition kPpt{"ppt", kCodePpt, 10 * kMiB, kOleHeader, {}, {}, 1};
const type_definition kWpd{"wpd", kCodeWpd, 1 * kMiB, "\xFFWPC"sv, {}, {}, 1};
const type_definition kCpp{"cpp", kCodeCpp, 1 * kMiB, "#include"sv, "char"sv, {"int"sv}, 1};
const type_definition kOle{"ole", kCodeOle, 10 * kMiB, kOleHeader, {}, {}, 1};
const type_definition kGz{"gz", kCodeGzip, 100 * kMiB, "\x1F\x8B"sv, "\0\0\0\0"sv, {}, 1};
const type_definition kRif{"rif", kCodeRif, 20 * kMiB, kRiffHeader, kRiffFooter, {}, 1};
const type_definition kWav{"wav", kCodeWav, 20 * kMiB, kRiffHeader, kRiffFooter, {}, 1};
const type_definition kVjpeg{"mov", kCodeVjpeg, 40 * kMiB, "pnot"sv, {}, {}, 1};
const type_definition kSxw{"sxw", kCodeSxw, 10 * kMiB, kZipHeader, kZipFooter, {}, 1};
const type_definition kSxc{"sxc", kCodeSxc, 10 * kMiB, kZipHeader, kZipFooter, {}, 1};
const type_definition kSxi{"sxi", kCodeSxi, 10 * kMiB, kZipHeader, kZipFooter, {}, 1};
const type_definition kPng{"png", kCodePng, 1 * kMiB, "\x89PNG\x0D\x0A\x1A\x0A"sv, "IEND"sv, {}, 1};
const type_definition kRar{"rar", kCodeRar, 100 * kMiB, "Rar!\x1A\x07\x00"sv, "\0\0\0\0\0\0\0\0"sv, {}, 1};
const type_definition kExe{"exe", kCodeExe, 1 * kMiB, "MZ"sv, {}, {}, 1};
const type_definition kElf{"elf", kCodeElf, 1 * kMiB, "\x7F" "ELF"sv, {}, {}, 1};
const type_definition kReg{"reg", kCodeReg, 2 * kMiB, "regf"sv, {}, {}, 1};

type_definition with_max_len(type_definition d, std::uint64_t max_len) {
  d.max_len = max_len;
  return d;
}

// "all": fourteen entries in this order, three with limits of their own.
std::vector<type_definition> all_definitions() {
  return {kJpg, kGif, kBmp, with_max_len(kWmv, 40 * kMiB), kMov, kRif, kHtm,
          with_max_len(kOle, 5 * kMiB), kZip, kRar, kExe, kPng, kMpg, with_max_len(kPdf, 40 * kMiB)};
}

struct named_definition {
  std::string_view name;
  const type_definition* definition;
};

const named_definition kNames[] = {
    {"jpg", &kJpg},   {"jpeg", &kJpg},   {"gif", &kGif},   {"bmp", &kBmp},     {"mpg", &kMpg},
    {"mpeg", &kMpg},  {"pdf", &kPdf},    {"doc", &kDoc},   {"avi", &kAvi},     {"wmv", &kWmv},
    {"html", &kHtm},  {"htm", &kHtm},    {"zip", &kZip},   {"mov", &kMov},     {"xls", &kXls},
    {"ppt", &kPpt},   {"wpd", &kWpd},    {"cpp", &kCpp},   {"ole", &kOle},     {"office", &kOle},
    {"gzip", &kGz},   {"gz", &kGz},      {"rif", &kRif},   {"wav", &kWav},     {"vjpeg", &kVjpeg},
    {"sxw", &kSxw},   {"sxc", &kSxc},    {"sxi", &kSxi},   {"png", &kPng},     {"rar", &kRar},
    {"exe", &kExe},   {"elf", &kElf},    {"reg", &kReg},
};

}  // namespace

std::vector<type_definition> definitions_for_name(std::string_view name) {
  if (name == "all") return all_definitions();
  for (const auto& n : kNames) {
    if (n.name == name) return {*n.definition};
  }
  return {};
}

}  // namespace qf

namespace qf {

std::vector<std::string_view> type_names() {
  std::vector<std::string_view> names;
  for (const auto& n : kNames) names.push_back(n.name);
  names.push_back("all");
  return names;
}

}  // namespace qf
