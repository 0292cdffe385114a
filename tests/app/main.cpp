// The frame loop draws, so its tests run in a real GLUT window.
#include <gtest/gtest.h>

#include "tests/support/gl_window.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as CTest does to discover them) needs no display.
  if (!testing::GTEST_FLAG(list_tests)) openTestWindow();
  return RUN_ALL_TESTS();
}
