// Keeps Wine's desktop open for a whole test run.
//
// Wine closes its desktop (explorer.exe) a few seconds after the last window
// program has gone, and starts a new one for the next. That new explorer.exe
// inherits the output pipe of the test that happened to start it and holds it
// open, so ctest waits for that test until its time-out although it passed
// long before. While this program runs, the desktop always has a user.
#include <windows.h>

int main() {
  GetDesktopWindow();
  // A hidden window makes this thread one of the desktop's users.
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
