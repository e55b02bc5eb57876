#include "tools/quillfern/type_list.h"

#include <cctype>
#include <cstdio>

#include "carve/type_vocabulary.h"

namespace qf::cli {

namespace {

std::string trimmed_lower(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  std::string out = text.substr(first, last - first + 1);
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

}  // namespace

std::string normalize_type_list(const std::string& given, std::string& error) {
  std::string list;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = given.find(',', start);
    const std::string name = trimmed_lower(given.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (name.empty()) {
      error = "--types has an empty name in '" + given + "'";
      return {};
    }
    if (definitions_for_name(name).empty()) {
      error = "unknown type '" + name + "' (see --list-types)";
      return {};
    }
    list += (list.empty() ? "" : ",") + name;
    if (comma == std::string::npos) return list;
    start = comma + 1;
  }
}

std::string type_listing() {
  std::string text = "name      finds     up to\n";
  for (std::string_view name : type_names()) {
    if (name == "all") continue;
    const type_definition d = definitions_for_name(name).front();
    char line[96];
    std::snprintf(line, sizeof line, "%-9.*s .%-8.*s %llu MiB\n", static_cast<int>(name.size()), name.data(),
                  static_cast<int>(d.suffix.size()), d.suffix.data(),
                  static_cast<unsigned long long>(d.max_len >> 20));
    text += line;
  }
  text += "all       the fourteen everyday types:";
  for (const type_definition& d : definitions_for_name("all")) text += " " + std::string(d.suffix);
  return text + "\nNames are not case-sensitive; separate them with commas.\n";
}

}  // namespace qf::cli
