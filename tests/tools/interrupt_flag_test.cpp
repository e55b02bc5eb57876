// Ctrl-C and SIGTERM during a command: the process lives on with the flag set
// (so its work folder and copies are removed by the command's own exit path),
// and the handlers are the earlier ones again once the command is over.
#include "tools/quillfern/interrupt_flag.h"

#include <gtest/gtest.h>

#include <csignal>

namespace qf::cli {
namespace {

volatile std::sig_atomic_t g_outer = 0;
extern "C" void outer_handler(int) { g_outer = 1; }

class InterruptFlag : public ::testing::TestWithParam<int> {};

TEST_P(InterruptFlag, SignalOnlySetsTheFlagAndTheEarlierHandlerComesBack) {
  const int signal = GetParam();
  auto* before = std::signal(signal, outer_handler);
  g_outer = 0;
  {
    InterruptScope scope;
    EXPECT_EQ(g_interrupted, 0);
    ASSERT_EQ(std::raise(signal), 0);
    EXPECT_EQ(g_interrupted, 1);
    EXPECT_EQ(g_outer, 0);
  }
  ASSERT_EQ(std::raise(signal), 0);
  EXPECT_EQ(g_outer, 1);
  std::signal(signal, before);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptFlag, ::testing::Values(SIGINT, SIGTERM));

}  // namespace
}  // namespace qf::cli
