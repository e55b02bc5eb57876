// The engine's option parser and type selection on arbitrary argument
// vectors: words separated by NUL bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "carve/carve_engine.h"
#include "carve/carve_options.h"
#include "carve/cdr_info.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args{"search"};
  std::string word;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(data[i]);
    }
  }
  args.push_back(word);
  std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
  (void)quiet;
  qf::carve_state state;
  qf::init_carve_state(state);
  qf::cdr_node partition;
  state.partition = &partition;
  const qf::parsed_options parsed = qf::parse_carve_options(args, state);
  if (parsed.outcome == qf::option_outcome::run) {
    for (const auto& list : parsed.type_lists) qf::select_type_name(state, list);
  }
  if (state.type_count > qf::kTypeSpecCapacity || state.block_size < 1 || state.chunk_mib < 1) __builtin_trap();
  qf::cdr_clear_children(nullptr, &partition);
  return 0;
}
