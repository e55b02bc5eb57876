#pragma once
// The test a recovered text must pass before it is filed: well-formed UTF-8
// whose only single bytes are TAB, LF, CR and the printable ASCII range.
// Freed space is mostly binary; this is what keeps garbage out of the tables.
#include <cstddef>
#include <cstdint>

namespace qf {

// True when every byte of [p, p + length) belongs to an allowed sequence:
//   09 0A 0D 20-7E                    single bytes
//   C2-DF 80-BF                       two bytes
//   E0 A0-BF 80-BF | E1-EC,EE-EF 80-BF 80-BF | ED 80-9F 80-BF
//   F0 90-BF 80-BF 80-BF | F1-F3 80-BF x3 | F4 80-8F 80-BF 80-BF
// NUL, other control bytes, 7F, overlong forms, surrogates and a sequence
// cut off by the end of the value all fail.
bool passes_text_test(const std::uint8_t* p, std::size_t length);

}  // namespace qf
