#include "tools/quillfern/interrupt_flag.h"

namespace qf::cli {

volatile std::sig_atomic_t g_interrupted = 0;

namespace {
extern "C" void on_interrupt(int) { g_interrupted = 1; }
}  // namespace

InterruptScope::InterruptScope() {
  g_interrupted = 0;
  previous_ = std::signal(SIGINT, on_interrupt);
  previous_term_ = std::signal(SIGTERM, on_interrupt);
}

InterruptScope::~InterruptScope() {
  std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_);
  std::signal(SIGTERM, previous_term_ == SIG_ERR ? SIG_DFL : previous_term_);
}

}  // namespace qf::cli
