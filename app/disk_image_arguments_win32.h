#pragma once
// Disk images named on the program's command line: every argument that is
// not an option ("--...") is an image file to scan as one more disk.
#include <string>
#include <vector>

namespace qf::app {

// Full UTF-8 paths of the image arguments of `command_line` (a whole
// command line, the program's own name first).
std::vector<std::string> disk_image_arguments(const wchar_t* command_line);

}  // namespace qf::app
