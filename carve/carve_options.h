#pragma once
// The engine's options, parsed in the GNU manner from the option string
// "o:b:c:t:s:i:k:hqmQTadvVw": options may be grouped (-qQ) and take their
// argument attached or as the next word; words that are not options move
// behind the options unless POSIXLY_CORRECT is set; "--" ends the options.
// Nothing here ends the process: -h, -V and errors come back as outcomes.
#include <string>
#include <vector>

#include "carve/carve_state.h"

namespace qf {

enum class option_outcome {
  run,           // go on to the scan
  help,          // usage text printed (-h, or an unknown -t name)
  version,       // version printed (-V)
  bad_option,    // unknown option, missing or unusable argument: message printed
};

struct parsed_options {
  option_outcome outcome = option_outcome::run;
  std::vector<std::string> type_lists;  // every -t argument, left to right
  std::vector<std::string> operands;    // words that were not options, in order
};

// Parses `args` (args[0] is the program name) into `state`. Parsing state is
// local to the call, so every scan starts afresh.
parsed_options parse_carve_options(const std::vector<std::string>& args, carve_state& state);

// The usage text, naming `program`.
std::string carve_usage_text(const std::string& program);

}  // namespace qf
