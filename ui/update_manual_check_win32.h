#pragma once
// The manual update check (menu entry "Update"): WinHTTP fetches the update
// document, the XML reader finds this product's version, and the outcome
// goes to the main window as WM_UPDATE_AVAILABLE (posted). A check that
// cannot complete says so and why; it is never reported as "latest".
#include <windows.h>

#include "ui/update_outcome.h"
#include "ui/update_server.h"

namespace qf::ui {

// Fetches and reads the document from `server` (a bounded wait at every
// step, at most kMaxUpdateXmlBytes read) and judges its version.
UpdateOutcome fetch_manual_update(const UpdateServer& server);

// Thread routine: fetch_manual_update(update_server()) and post the outcome
// to `main_window`. Returns 1.
DWORD WINAPI ManualUpdateCheck(LPVOID main_window);

// Starts ManualUpdateCheck on a new thread (its handle closed at once).
// While one manual check runs, a second is refused: false.
bool start_manual_update_check(HWND main_window);

}  // namespace qf::ui
