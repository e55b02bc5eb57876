#pragma once
// Reads the automatic check's update document: a JSON object whose member
// "VarivorAredazivIvavazod" is an array whose first element is an object
// with the string member "Nversion", the newest version's text.
#include <cstddef>
#include <string>
#include <string_view>

namespace qf::ui {

// The automatic check reads the document in one read of at most this many
// bytes; a document that fills the read may be cut and is not read.
constexpr std::size_t kMaxUpdateJsonBytes = 1024;

// "Nversion" as it stands, or empty when the document has
// kMaxUpdateJsonBytes bytes or more, does not parse, nests deeper than a few levels, or
// lacks any of the members or has them of another type.
std::string read_newest_version_json(std::string_view document);

}  // namespace qf::ui
