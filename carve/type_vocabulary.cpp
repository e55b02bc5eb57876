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

const type_definition kJpg{"jpg", kCodeJpeg, 64 * kMiB, "\xFF\xD8\xFF"sv, "\xFF\xD9"sv, {}, 1, extract_jpeg};
const type_definition kGif{"gif", kCodeGif, 64 * kMiB, "GIF8"sv, "\x00\x3B"sv, {"\x00\x00\x3B"sv}, 1, extract_gif};
const type_definition kBmp{"bmp", kCodeBmp, 256 * kMiB, "BM"sv, {}, {}, 1, extract_bmp};
const type_definition kMpg{"mpg", kCodeMpeg, 1024 * kMiB, "\x00\x00\x01\xBA"sv, "\x00\x00\x01\xB9"sv,
                           {"\x00\x00\x01"sv}, 1, extract_mpeg};
const type_definition kPdf{"pdf", kCodePdf, 256 * kMiB, "%PDF-"sv, "%%EOF"sv,
                           {"/L "sv, "obj"sv, "/Linearized"sv, "/Length"sv}, 1, extract_pdf};
const type_definition kDoc{"doc", kCodeDoc, 256 * kMiB, kOleHeader, {}, {}, 1, extract_ole, "doc"};
const type_definition kAvi{"avi", kCodeAvi, 4096 * kMiB, kRiffHeader, kRiffFooter, {}, 1, extract_riff, "avi"};
// ASF header object id, and the start of the file-properties object id.
const type_definition kWmv{"wmv", kCodeWmv, 4096 * kMiB, "\x30\x26\xB2\x75\x8E\x66\xCF\x11"sv,
                           "\xA1\xDC\xAB\x8C\x47\xA9"sv, {}, 1, extract_wmv};
// Any byte: the extractor recognises a page's openings (doctype, XML prolog,
// byte-order mark, white space before "<html").
const type_definition kHtm{"htm", kCodeHtml, 16 * kMiB, "?"sv, "</html>"sv, {}, 0, extract_html};
const type_definition kZip{"zip", kCodeZip, 100 * kMiB, kZipHeader, kZipFooter, {}, 1, extract_zip};
const type_definition kMov{"mov", kCodeMov, 40 * kMiB, "moov"sv, {}, {}, 1, extract_quicktime};
const type_definition kXls{"xls", kCodeXls, 256 * kMiB, kOleHeader, {}, {}, 1, extract_ole, "xls", "ole"};
const type_definition kPpt{"ppt", kCodePpt, 256 * kMiB, kOleHeader, {}, {}, 1, extract_ole, "ppt"};
const type_definition kWpd{"wpd", kCodeWpd, 1 * kMiB, "\xFFWPC"sv, {}, {}, 1};
const type_definition kCpp{"cpp", kCodeCpp, 1 * kMiB, "#include"sv, "char"sv, {"int"sv}, 1, extract_c_source};
const type_definition kOle{"ole", kCodeOle, 256 * kMiB, kOleHeader, {}, {}, 1, extract_ole, "all", "ole"};
const type_definition kGz{"gz", kCodeGzip, 100 * kMiB, "\x1F\x8B"sv, "\0\0\0\0"sv, {}, 1};
const type_definition kRif{"rif", kCodeRif, 4096 * kMiB, kRiffHeader, kRiffFooter, {}, 1, extract_riff, "all", "rif"};
const type_definition kWav{"wav", kCodeWav, 4096 * kMiB, kRiffHeader, kRiffFooter, {}, 1, extract_riff, "wav", "rif"};
// Files of today's phones and cameras: sized by their boxes, up to 4 GiB
// (the largest file a FAT32 card holds); found in the mov folder.
const type_definition kIsoMedia{"mov", kCodeIsoMedia, 4096 * kMiB, "ftyp"sv, {}, {}, 1, extract_iso_media};
const type_definition kWebp{"webp", kCodeWebp, 64 * kMiB, kRiffHeader, {}, {}, 1, extract_webp};
const type_definition kMp3{"mp3", kCodeMp3, 1024 * kMiB, "ID3"sv, {}, {}, 1, extract_mp3};
const type_definition kOgg{"ogg", kCodeOgg, 1024 * kMiB, "OggS"sv, {}, {}, 1, extract_ogg};
const type_definition kAmr{"amr", kCodeAmr, 256 * kMiB, "#!AMR"sv, {}, {}, 1, extract_amr};
const type_definition kVjpeg{"mov", kCodeVjpeg, 40 * kMiB, "pnot"sv, {}, {}, 1, extract_quicktime};
const type_definition kSxw{"sxw", kCodeSxw, 10 * kMiB, kZipHeader, kZipFooter, {}, 1, extract_zip, "sxw"};
const type_definition kSxc{"sxc", kCodeSxc, 10 * kMiB, kZipHeader, kZipFooter, {}, 1, extract_zip, "sxc"};
const type_definition kSxi{"sxi", kCodeSxi, 10 * kMiB, kZipHeader, kZipFooter, {}, 1, extract_zip, "sxi"};
const type_definition kPng{"png", kCodePng, 64 * kMiB, "\x89PNG\x0D\x0A\x1A\x0A"sv, "IEND"sv, {}, 1, extract_png};
const type_definition kRar{"rar", kCodeRar, 100 * kMiB, "Rar!\x1A\x07\x00"sv, "\0\0\0\0\0\0\0\0"sv, {}, 1, extract_rar};
const type_definition kExe{"exe", kCodeExe, 64 * kMiB, "MZ"sv, {}, {}, 1, extract_exe};
const type_definition kElf{"elf", kCodeElf, 1 * kMiB, "\x7F" "ELF"sv, {}, {}, 1};
const type_definition kReg{"reg", kCodeReg, 2 * kMiB, "regf"sv, {}, {}, 1};

// "all": the fourteen classic entries in this order, then the types of
// today's phones. Every limit is of real-world size: the extractors check a
// file by its own structure, and follow it past the read chunk through the
// device, so a limit costs no memory.
std::vector<type_definition> all_definitions() {
  return {kJpg, kGif, kBmp, kWmv, kMov, kRif, kHtm, kOle, kZip, kRar, kExe, kPng, kMpg, kPdf, kIsoMedia, kWebp, kMp3, kOgg, kAmr};
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
    {"exe", &kExe},   {"elf", &kElf},    {"reg", &kReg},   {"mp4", &kIsoMedia},
    {"webp", &kWebp}, {"mp3", &kMp3},     {"ogg", &kOgg},   {"amr", &kAmr},
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
