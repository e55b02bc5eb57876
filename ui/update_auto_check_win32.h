#pragma once
// The automatic update check, once, a second after start: WinINet (with the
// connectivity query and the system's proxy settings) reads the update
// document in one read of at most 1024 bytes, the JSON reader takes the
// newest version, and only a strictly newer, plainly written version is
// announced (WM_UPDATE_AVAILABLE, sent: the check waits until the notice is
// dismissed). Every failure is silent.
#include <windows.h>

#include <optional>

#include "ui/update_outcome.h"
#include "ui/update_server.h"

namespace qf::ui {

// The newer version `server` announces; nothing when there is none or the
// check failed in any way.
std::optional<UpdateOutcome> fetch_auto_update(const UpdateServer& server);

// Thread routine: fetch_auto_update(update_server()) and, when it found a
// newer version, send it to `main_window`. Returns 1.
DWORD WINAPI AutoUpdateCheck(LPVOID main_window);

// Starts AutoUpdateCheck on a new thread (its handle closed at once).
void start_auto_update_check(HWND main_window);

}  // namespace qf::ui
