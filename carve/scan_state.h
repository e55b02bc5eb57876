#pragma once
// The process-wide state of the disk scan. Written by the scan thread and by
// the window's pause/resume/stop hand-shake, and polled without a lock by the
// scan callback and the window's buttons, so it is atomic.
#include <atomic>

namespace qf {

enum ScanStateValue : int {
  ScanIdle = 0,
  ScanRunning = 1,
  ScanPaused = 2,
  ScanStopRequested = 3,
  ScanFinished = 4,
};

extern std::atomic<int> ScanState;

}  // namespace qf
