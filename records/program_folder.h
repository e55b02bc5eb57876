#pragma once
// The folder of the running executable, where the files that stand beside the
// program are found (morvatch.dll, template.html). UTF-8, without a trailing
// separator; empty when the platform cannot tell.
#include <string>

namespace qf {

std::string program_folder();

}  // namespace qf
