#pragma once
// Which volume a path lives on, as an opaque text: two paths on the same
// volume give the same text. Empty when it cannot be told. Paths are UTF-8.
#include <string>

namespace qf {

std::string volume_identity(const std::string& path);

}  // namespace qf
