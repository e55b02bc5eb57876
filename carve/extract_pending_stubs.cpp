// Extractors whose formats this build does not carve yet: each gives up at
// once, so the scan loop moves on. Each stub steps aside as soon as the real
// extractor's file is part of the build (and is weak meanwhile, so an
// incremental build that still holds a stale stub object links the real one).
#include "carve/extractor.h"

namespace qf {

#if !__has_include("carve/extract_pdf.cpp")
__attribute__((weak)) const unsigned char* extract_pdf(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t) {
  return nullptr;
}
#endif

#if !__has_include("carve/extract_html.cpp")
__attribute__((weak)) const unsigned char* extract_html(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t) {
  return nullptr;
}
#endif

#if !__has_include("carve/extract_c_source.cpp")
__attribute__((weak)) const unsigned char* extract_c_source(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t) {
  return nullptr;
}
#endif

#if !__has_include("carve/extract_rar.cpp")
__attribute__((weak)) const unsigned char* extract_rar(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t) {
  return nullptr;
}
#endif

#if !__has_include("carve/extract_exe.cpp")
__attribute__((weak)) const unsigned char* extract_exe(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t) {
  return nullptr;
}
#endif

#if !__has_include("carve/extract_ole.cpp")
__attribute__((weak)) const unsigned char* extract_ole(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t,
                                                   std::string_view) {
  return nullptr;
}
#endif

#if !__has_include("carve/extract_zip.cpp")
__attribute__((weak)) const unsigned char* extract_zip(carve_state&, type_spec&, const unsigned char*,
                                                   std::uint64_t, std::uint64_t, std::uint64_t,
                                                   std::string_view) {
  return nullptr;
}
#endif

}  // namespace qf
