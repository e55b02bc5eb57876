#include "platform/process_runner.h"

namespace qf {

namespace {

// The C runtime's argument rules (the same CommandLineToArgvW applies):
// whitespace separates arguments unless inside double quotes; a run of
// backslashes is literal unless it precedes a double quote, where each pair
// gives one backslash and an odd one escapes the quote.
bool needs_quotes(const std::string& argument) {
  return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string::npos;
}

void append_quoted(const std::string& argument, std::string& line) {
  if (!needs_quotes(argument)) {
    line += argument;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote itself escaped.
    line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    line += c;
  }
  // Before the closing quote every backslash is doubled.
  line.append(backslashes * 2, '\\');
  line += '"';
}

}  // namespace

std::string windows_command_line(const std::vector<std::string>& command) {
  std::string line;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (i) line += ' ';
    // The program path is read up to the next quote with no backslash rules;
    // a Windows path holds no quote, so plain quoting fits it as well.
    if (i == 0 && needs_quotes(command[0])) {
      line += '"' + command[0] + '"';
    } else {
      append_quoted(command[i], line);
    }
  }
  return line;
}

}  // namespace qf
