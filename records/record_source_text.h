#pragma once
// A record's origin as words for the machine-readable outputs and reports:
// "pulled_copy", "free_space", ... (stable tokens other tools can match).
#include "records/record_source.h"

namespace qf {

const char* SourceFileText(SourceFile file);
const char* SourceKindText(SourceKind kind);

}  // namespace qf
