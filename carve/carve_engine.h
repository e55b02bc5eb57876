#pragma once
// The carving engine as a command-line style entry: an argument vector is
// parsed into a fresh carve_state, the types are selected, and the scan loop
// runs over the input.
#include <cstdint>
#include <string>
#include <vector>

#include "carve/carve_state.h"

namespace qf {

struct cdr_node;
class scan_observer;

// Result of run_carve_engine.
enum carve_engine_result : int {
  kEngineScanned = 0,     // the scan ran (it may have found nothing)
  kEngineBadInput = 1,    // the scan loop could not use the input
  kEngineHelpShown = 2,   // -h or an unknown -t name: usage printed, no scan
  kEngineVersionShown = 3,  // -V: version printed, no scan
  kEngineBadOption = 4,   // unknown option or missing argument, no scan
};

// The scan over state's input once the options are parsed and the types
// selected: 0 when the scan ran, 1 when the input could not be used. Defined
// with the scan loop (carve/scan_loop.cpp).
int carve_scan_input(carve_state& state);

// Runs the engine on `args` (args[0] is the program name) for `partition`,
// scanning input_length bytes from input_start, `observer` (when given)
// watching. Never ends the process.
int run_carve_engine(const std::vector<std::string>& args, cdr_node* partition,
                     std::uint64_t input_start, std::uint64_t input_length,
                     progress_callback progress, void* user_data, scan_observer* observer = nullptr);

}  // namespace qf
