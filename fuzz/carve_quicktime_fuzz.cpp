// The QuickTime extractor through both its entries (moov and pnot); the atom size before the match comes from the harness's leading bytes.
#include "fuzz/extractor_fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qf::fuzz::run_extractors(data, size, {"mov", "vjpeg"});
}
