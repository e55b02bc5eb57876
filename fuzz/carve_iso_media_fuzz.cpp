// ISO base media files (MP4, 3GP, M4A, MOV, HEIC): the box walk.
#include "fuzz/extractor_fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qf::fuzz::run_extractors(data, size, {"mp4"});
}
