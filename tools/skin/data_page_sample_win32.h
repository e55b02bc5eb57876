#pragma once
// The data page's controls filled with realistic sample records, in one
// window laid out as the main window places them, for screenshots:
//   data-contacts   tree, contacts list (deleted ones red), contact card
//   data-messages   tree, conversations list, a 2,000-message conversation
//                   scrolled to its middle
//   data-files      tree, a folder's files, a tall picture
//   picture-small   the picture pane with a small picture
#include <windows.h>

#include <string>

namespace qf::tools {

// Shows `variant` until `close_after_ms` have passed. 0: shown and closed,
// 2: unknown variant, 3: the window did not open.
int show_data_page(const std::wstring& variant, UINT close_after_ms);

}  // namespace qf::tools
