// The RIFF extractor through its three entries: avi (filter avi), rif (all) and wav (filter wav).
#include "fuzz/extractor_fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qf::fuzz::run_extractors(data, size, {"avi", "rif", "wav"});
}
