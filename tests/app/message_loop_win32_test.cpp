// The message loop: filters before dispatch, idle handlers on an empty queue,
// the quit message's parameter as the exit code.
#include "app/message_loop_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace qf::app {
namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kSwallowed = WM_APP + 2;

struct Recorder : MessageFilter, IdleHandler {
  std::vector<UINT> seen;
  int idles = 0;
  bool pre_translate_message(MSG& m) override {
    if (m.message >= WM_APP) seen.push_back(m.message);
    return m.message == kSwallowed;
  }
  void on_idle() override {
    // First idle: queue work; second idle (the queue drained again): quit.
    if (++idles == 1) {
      PostThreadMessageW(GetCurrentThreadId(), kSwallowed, 0, 0);
      PostThreadMessageW(GetCurrentThreadId(), kPing, 0, 0);
    } else if (idles == 2) {
      PostQuitMessage(37);
    }
  }
};

TEST(MessageLoop, FiltersEveryMessageRunsIdleHandlersAndEndsOnQuit) {
  MessageLoop loop;
  Recorder recorder;
  loop.add_message_filter(&recorder);
  loop.add_idle_handler(&recorder);
  EXPECT_EQ(loop.run(), 37);
  EXPECT_EQ(recorder.seen, (std::vector<UINT>{kSwallowed, kPing}));
  EXPECT_EQ(recorder.idles, 2);
}

TEST(MessageLoop, LaterFilterSeesMessagesFirstAndCanSwallowThem) {
  MessageLoop loop;
  Recorder below, above;
  loop.add_message_filter(&below);
  loop.add_message_filter(&above);
  loop.add_idle_handler(&above);
  EXPECT_EQ(loop.run(), 37);
  EXPECT_EQ(above.seen, (std::vector<UINT>{kSwallowed, kPing}));
  EXPECT_EQ(below.seen, (std::vector<UINT>{kPing}));
  loop.remove_message_filter(&above);
  loop.remove_idle_handler(&above);
  PostQuitMessage(5);
  EXPECT_EQ(loop.run(), 5);
}

}  // namespace
}  // namespace qf::app
