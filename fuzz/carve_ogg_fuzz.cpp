// Ogg: the page walk over its streams.
#include "fuzz/extractor_fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qf::fuzz::run_extractors(data, size, {"ogg"});
}
