#include "carve/carve_engine.h"

#include <cstdio>
#include <memory>

#include "carve/carve_options.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

// Splits a -t list at commas; empty names are kept so that "jpg,,gif" is
// refused like any other unknown name.
std::vector<std::string> split_names(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    names.push_back(list.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return names;
}

bool all_names_known(const std::vector<std::string>& lists) {
  for (const auto& list : lists) {
    for (const auto& name : split_names(list)) {
      if (definitions_for_name(name).empty()) return false;
    }
  }
  return true;
}

void select_lists(carve_state& state, const std::vector<std::string>& lists) {
  int refused = 0;
  for (const auto& list : lists) {
    for (const auto& name : split_names(list)) refused += select_type_name(state, name);
  }
  if (refused > 0) {
    std::fprintf(stderr, "%d file types left out: at most %d can be searched in one scan\n", refused,
                 kTypeSpecCapacity);
  }
}

}  // namespace

int run_carve_engine(const std::vector<std::string>& args, cdr_node* partition,
                     std::uint64_t input_start, std::uint64_t input_length,
                     progress_callback progress, void* user_data, scan_observer* observer) {
  auto state = std::make_unique<carve_state>();
  init_carve_state(*state);
  state->input_length = input_length;
  state->input_start = input_start;
  state->partition = partition;
  state->progress = progress;
  state->user_data = user_data;
  state->observer = observer;

  const parsed_options options = parse_carve_options(args, *state);
  switch (options.outcome) {
    case option_outcome::help: return kEngineHelpShown;
    case option_outcome::version: return kEngineVersionShown;
    case option_outcome::bad_option: return kEngineBadOption;
    case option_outcome::run: break;
  }
  // Every name is checked before any is selected, so a refused list leaves
  // no folders behind.
  if (!all_names_known(options.type_lists)) {
    std::fputs(carve_usage_text(args.empty() ? "search" : args[0]).c_str(), stdout);
    return kEngineHelpShown;
  }
  select_lists(*state, options.type_lists);
  if (state->type_count == 0) select_type_name(*state, "all");
  return carve_scan_input(*state) == 0 ? kEngineScanned : kEngineBadInput;
}

}  // namespace qf
