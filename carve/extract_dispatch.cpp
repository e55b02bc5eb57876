// Which extractor serves which type code, with the filter that code applies
// and the suffix change it makes before the call.
#include "carve/extractor.h"

#include "carve/type_spec.h"

namespace qf {

bool filter_allows(std::string_view filter, std::string_view suffix) {
  return filter == "all" || suffix.find(filter) != std::string_view::npos;
}

std::uint64_t reread_lead(int type_code) {
  return type_code == kCodeMov || type_code == kCodeVjpeg || type_code == kCodeIsoMedia ? 4 : 0;
}

const unsigned char* dispatch_extractor(carve_state& state, type_spec& entry, const unsigned char* s,
                                        std::uint64_t m, std::uint64_t R, std::uint64_t base) {
  switch (entry.type_code) {
    case kCodeJpeg: return extract_jpeg(state, entry, s, m, R, base);
    case kCodeGif: return extract_gif(state, entry, s, m, R, base);
    case kCodeBmp: return extract_bmp(state, entry, s, m, R, base);
    case kCodeMpeg: return extract_mpeg(state, entry, s, m, R, base);
    case kCodePdf: return extract_pdf(state, entry, s, m, R, base);
    case kCodeDoc: return extract_ole(state, entry, s, m, R, base, "doc");
    case kCodeAvi: return extract_riff(state, entry, s, m, R, base, "avi");
    case kCodeWmv: return extract_wmv(state, entry, s, m, R, base);
    case kCodeHtml: return extract_html(state, entry, s, m, R, base);
    case kCodeZip: return extract_zip(state, entry, s, m, R, base, "all");
    case kCodeMov:
    case kCodeVjpeg: return extract_quicktime(state, entry, s, m, R, base);
    case kCodeXls:
      entry.suffix = "ole";
      return extract_ole(state, entry, s, m, R, base, "xls");
    case kCodePpt: return extract_ole(state, entry, s, m, R, base, "ppt");
    case kCodeCpp: return extract_c_source(state, entry, s, m, R, base);
    case kCodeOle:
      entry.suffix = "ole";
      return extract_ole(state, entry, s, m, R, base, "all");
    case kCodeRif:
      entry.suffix = "rif";
      return extract_riff(state, entry, s, m, R, base, "all");
    case kCodeWav:
      entry.suffix = "rif";
      return extract_riff(state, entry, s, m, R, base, "wav");
    case kCodeSxw: return extract_zip(state, entry, s, m, R, base, "sxw");
    case kCodeSxc: return extract_zip(state, entry, s, m, R, base, "sxc");
    case kCodeSxi: return extract_zip(state, entry, s, m, R, base, "sxi");
    case kCodePng: return extract_png(state, entry, s, m, R, base);
    case kCodeRar: return extract_rar(state, entry, s, m, R, base);
    case kCodeExe: return extract_exe(state, entry, s, m, R, base);
    case kCodeIsoMedia: return extract_iso_media(state, entry, s, m, R, base);
    case kCodeWebp: return extract_webp(state, entry, s, m, R, base);
    case kCodeMp3: return extract_mp3(state, entry, s, m, R, base);
    case kCodeOgg: return extract_ogg(state, entry, s, m, R, base);
    case kCodeAmr: return extract_amr(state, entry, s, m, R, base);
    default: return nullptr;  // wpd, gz, elf, reg: searched, never carved
  }
}

}  // namespace qf
