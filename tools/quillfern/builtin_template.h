#pragma once
// The report template built into the tool (a copy of template.html), used
// when no --template is given, so a copied tool needs no file beside it.
#include <string>

namespace qf::cli {

std::string builtin_template();

}  // namespace qf::cli
