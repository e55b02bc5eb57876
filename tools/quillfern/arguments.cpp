#include "tools/quillfern/arguments.h"

#include <algorithm>
#include <cstdio>

#include "platform/version.h"

namespace qf::cli {

namespace {

const OptionSpec* find_spec(const std::vector<OptionSpec>& specs, const std::string& word) {
  for (const OptionSpec& s : specs) {
    if (word == s.name) return &s;
    if (s.short_name && word.size() == 2 && word[0] == '-' && word[1] == s.short_name) return &s;
  }
  return nullptr;
}

}  // namespace

bool is_help_word(const std::string& word) {
#ifdef _WIN32
  if (word == "/?") return true;
#endif
  return word == "-h" || word == "--help";
}

bool ParsedArguments::has(const std::string& name) const {
  return values.count(name) || std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::string ParsedArguments::value(const std::string& name, const std::string& fallback) const {
  auto it = values.find(name);
  return it == values.end() ? fallback : it->second;
}

std::string parse_arguments(int argc, char** argv, const std::vector<OptionSpec>& specs,
                            ParsedArguments& parsed) {
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (is_help_word(word)) {
      parsed.help = true;
      continue;
    }
    if (word == "--version") {
      parsed.version = true;
      continue;
    }
    if (word.size() < 2 || word[0] != '-') {
      parsed.positional.push_back(word);
      continue;
    }
    std::string inline_value;
    bool has_inline = false;
    if (const auto eq = word.find('='); word.rfind("--", 0) == 0 && eq != std::string::npos) {
      inline_value = word.substr(eq + 1);
      has_inline = true;
      word.resize(eq);
    }
    const OptionSpec* option = find_spec(specs, word);
    if (option == nullptr) return "unknown option '" + word + "'";
    const std::string name = option->name;
    if (parsed.has(name)) return name + " given twice";
    if (!option->takes_value) {
      if (has_inline) return name + " takes no value";
      parsed.flags.push_back(name);
      continue;
    }
    if (!has_inline) {
      if (i + 1 >= argc) return name + " needs a value";
      inline_value = argv[++i];
    }
    if (inline_value.empty()) return name + " needs a value";
    parsed.values[name] = inline_value;
  }
  return {};
}

int usage_error(const char* command, const std::string& message, const char* usage) {
  std::fprintf(stderr, "quillfern %s: %s\n\n%s", command, message.c_str(), usage);
  return 2;
}

void print_version() { std::printf("%s %s\n", QF_PRODUCT_NAME, QF_VERSION_TEXT); }

}  // namespace qf::cli
