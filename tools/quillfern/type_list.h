#pragma once
// The carve command's --types list as people type it: "JPG, png,pdf" means
// jpg,png,pdf. The engine takes the names lower case and comma-separated.
#include <string>

namespace qf::cli {

// The list for the engine, or empty with `error` set (an unknown or empty
// name).
std::string normalize_type_list(const std::string& given, std::string& error);

// The --list-types text: every name, the suffix of the files it finds and
// its size limit, and what "all" means.
std::string type_listing();

}  // namespace qf::cli
