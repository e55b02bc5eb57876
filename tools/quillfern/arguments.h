#pragma once
// The command line of every subcommand, parsed one way: "--name value" and
// "--name=value", a short form ("-o DIR") where one is declared, "-h",
// "--help" (and "/?" on Windows), "--version". Values are UTF-8.
#include <map>
#include <string>
#include <vector>

namespace qf::cli {

struct OptionSpec {
  const char* name;        // "--out"
  char short_name;         // 'o', or 0 for none
  bool takes_value;
};

struct ParsedArguments {
  std::map<std::string, std::string> values;  // by long name, for options with a value
  std::vector<std::string> flags;             // long names of flags given
  std::vector<std::string> positional;
  bool help = false;
  bool version = false;

  bool has(const std::string& name) const;
  // The option's value, or `fallback` when it was not given.
  std::string value(const std::string& name, const std::string& fallback = {}) const;
};

// Fills `parsed` from argv[1..argc-1]. Returns an error text (an unknown
// option, a missing or empty value, an option given twice), or empty.
std::string parse_arguments(int argc, char** argv, const std::vector<OptionSpec>& specs,
                            ParsedArguments& parsed);

// "-h", "--help", and on Windows "/?".
bool is_help_word(const std::string& word);

// "quillfern COMMAND: MESSAGE", then the usage text, on standard error;
// returns the exit status for bad arguments (2).
int usage_error(const char* command, const std::string& message, const char* usage);

// Prints the product's name and version on standard output.
void print_version();

}  // namespace qf::cli
