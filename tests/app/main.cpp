// The frame loop draws, so its tests run in a real GLUT window.
#include <gtest/gtest.h>

#include "tests/support/gl_window.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  openTestWindow();
  return RUN_ALL_TESTS();
}
