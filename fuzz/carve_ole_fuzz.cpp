// The OLE compound-document extractor, through the doc, xls, ppt and ole entries.
#include "fuzz/extractor_fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qf::fuzz::run_extractors(data, size, {"doc", "xls", "ppt", "ole"});
}
