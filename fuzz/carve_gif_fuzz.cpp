// The GIF extractor: the block walk to the trailer, colour tables and sub-block chains.
#include "fuzz/extractor_fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qf::fuzz::run_extractors(data, size, {"gif"});
}
