#pragma once
// Mimetype id -> mimetype text of the contacts database last read by the
// parser library. The loader refills it on every library contact pass; the
// deleted-record decoder resolves the mimetype ids of freed data rows through
// it (freed rows carry only the id).
#include <cstdint>
#include <map>
#include <string>

namespace qf {

using MimetypeNameTable = std::map<std::int32_t, std::string>;

// The process-wide table. Written and read only on the loading thread.
MimetypeNameTable& mimetype_name_table();

// The text for an id; empty when the id is not in the table.
const std::string& MimetypeNameOf(const MimetypeNameTable& table, std::int32_t id);

}  // namespace qf
