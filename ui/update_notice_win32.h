#pragma once
// WM_UPDATE_AVAILABLE between an update check's thread and the main window.
//   wParam 1: a newer version exists; 0: no newer version; 2: the check
//   could not be completed.
//   lParam: an UpdateOutcome* made by deliver_update_outcome; the handler
//   (show_update_notice) takes it over and frees it.
#include <windows.h>

#include "ui/update_outcome.h"

namespace qf::ui {

// Posts the outcome to `window`, or sends it and waits until the notice is
// dismissed when `wait` is set. Returns false when the window did not take
// it (the outcome is then freed here).
bool deliver_update_outcome(HWND window, const UpdateOutcome& outcome, bool wait);

// Takes over the outcome of a WM_UPDATE_AVAILABLE (null lParam: nothing to
// show) and returns it, for whoever wants to look at it before showing it.
UpdateOutcome take_update_outcome(LPARAM lparam);

// The handler of WM_UPDATE_AVAILABLE: shows the notice over `owner` with the
// message box; on Yes to a newer version opens the product page.
void show_update_notice(HWND owner, LPARAM lparam);

}  // namespace qf::ui
