#pragma once
// Ctrl-C as a request rather than a kill: while an InterruptScope lives,
// SIGINT (and SIGTERM, as a service manager or `kill` sends it) only sets
// g_interrupted, so a command can finish the step it is in (close a file, put
// a phone's file mode back, remove the copies of the evidence in its work
// folder and the parser library's private copy) and stop in order.
#include <csignal>

namespace qf::cli {

extern volatile std::sig_atomic_t g_interrupted;

class InterruptScope {
 public:
  InterruptScope();  // clears the flag and installs the handlers
  ~InterruptScope();  // puts the earlier handlers back
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  void (*previous_)(int);
  void (*previous_term_)(int);
};

}  // namespace qf::cli
