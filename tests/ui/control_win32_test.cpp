// The control base: notifications the control sends its parent reach the
// control object first; what it leaves alone still reaches the parent.
#include "ui/control_win32.h"

#include <gtest/gtest.h>

#include "tests/ui/ui_test_support.h"

namespace qf::ui {
namespace {

class ClickCounter : public CControl {
 public:
  explicit ClickCounter(bool swallow) : swallow_(swallow) {}
  bool create(HWND parent, int id) {
    return create_window(L"BUTTON", ControlCreateArgs{parent, id, 0, 0, 40, 20});
  }
  int clicks = 0;

 protected:
  bool on_command(int code) override {
    if (code == BN_CLICKED) ++clicks;
    return swallow_;
  }

 private:
  bool swallow_;
};

TEST(CControl, CommandsReachTheControlAndOnlyUnhandledOnesTheParent) {
  qf::test::use_built_skin();
  struct Case {
    bool swallow;
    size_t parent_sees;
  } cases[] = {{true, 0}, {false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.swallow);
    qf::test::TestParent parent(100, 60);
    ClickCounter control(c.swallow);
    ASSERT_TRUE(control.create(parent.hwnd(), 77));
    EXPECT_EQ(CControl::from_window(control.hwnd()), &control);
    SendMessageW(control.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(control.clicks, 1);
    EXPECT_EQ(parent.commands.size(), c.parent_sees);
  }
}

TEST(CControl, TheObjectDestroysTheWindowItMadeAndSurvivesItsParent) {
  qf::test::use_built_skin();
  HWND made = nullptr;
  {
    qf::test::TestParent parent(100, 60);
    ClickCounter control(true);
    ASSERT_TRUE(control.create(parent.hwnd(), 5));
    made = control.hwnd();
  }  // the control goes first, then the parent
  EXPECT_FALSE(IsWindow(made));
  auto parent = std::make_unique<qf::test::TestParent>(100, 60);
  ClickCounter control(true);
  ASSERT_TRUE(control.create(parent->hwnd(), 6));
  parent.reset();  // the parent (and with it the control's window) goes first
  EXPECT_EQ(control.hwnd(), nullptr);
}

}  // namespace
}  // namespace qf::ui
