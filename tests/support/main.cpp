// Test entry shared by every suite. In Windows test builds an assert() must
// print instead of opening a message box, or a test under Xvfb would hang.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <stdlib.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  _set_error_mode(_OUT_TO_STDERR);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
