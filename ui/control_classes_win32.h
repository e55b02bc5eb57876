#pragma once
// The common-control window classes the program's windows are made of.
#include <windows.h>

namespace qf::ui {

// Registers the standard, bar (header, tool tip, status), tree-view,
// list-view, progress-bar and cool control classes for this process. Call
// once before the first window is created; repeating it does no harm.
bool register_control_classes();

}  // namespace qf::ui
