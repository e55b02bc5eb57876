#pragma once
// Ctrl-C as a request rather than a kill: while an InterruptScope lives,
// SIGINT only sets g_interrupted, so a command can finish the step it is in
// (close a file, put a phone's file mode back) and stop in order.
#include <csignal>

namespace qf::cli {

extern volatile std::sig_atomic_t g_interrupted;

class InterruptScope {
 public:
  InterruptScope();  // clears the flag and installs the handler
  ~InterruptScope();  // puts the earlier handler back
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  void (*previous_)(int);
};

}  // namespace qf::cli
