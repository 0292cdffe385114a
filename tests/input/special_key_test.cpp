// Function and arrow keys: full screen, camera mode, heading, bank and pitch.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/game_state.h"
#include "input/keyboard.h"
#include "tests/support/gl_window.h"

namespace {

class SpecialKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { resetGameState(); }
  void press(int key, int times = 1) {
    for (int i = 0; i < times; ++i) onSpecialKey(key, 0, 0);
  }
};

TEST_F(SpecialKeyTest, UpArrowClimbsToMinus46ThenResetsToLevel) {
  for (int cycle = 0; cycle < 2; ++cycle) {
    for (int expected = -2; expected >= -46; expected -= 2) {
      gameState.rollHeld = 0;
      press(GLUT_KEY_UP);
      ASSERT_EQ(gameState.pitch, expected);
      ASSERT_EQ(gameState.rollHeld, 1);
    }
    gameState.rollHeld = 0;
    press(GLUT_KEY_UP);
    EXPECT_EQ(gameState.pitch, 0) << "past -45 the nose is reset, not clamped";
    EXPECT_EQ(gameState.rollHeld, 1);
  }
}

TEST_F(SpecialKeyTest, DownArrowStopsAt46) {
  for (int expected = 2; expected <= 46; expected += 2) {
    press(GLUT_KEY_DOWN);
    ASSERT_EQ(gameState.pitch, expected);
  }
  gameState.rollHeld = 0;
  press(GLUT_KEY_DOWN, 3);
  EXPECT_EQ(gameState.pitch, 46);
  EXPECT_EQ(gameState.rollHeld, 1) << "the clamp still holds the bank";
}

TEST_F(SpecialKeyTest, LeftTurnsAndBanksUntilNinety) {
  press(GLUT_KEY_LEFT);
  EXPECT_EQ(gameState.yaw, 2);
  EXPECT_EQ(gameState.roll, 2);
  EXPECT_EQ(gameState.rollHeld, 1);

  gameState.roll = 89;  // left there by the return to level
  press(GLUT_KEY_LEFT);
  EXPECT_EQ(gameState.roll, 91);
  EXPECT_EQ(gameState.yaw, 4);

  gameState.roll = 90;
  press(GLUT_KEY_LEFT);
  EXPECT_EQ(gameState.roll, 90);
  EXPECT_EQ(gameState.yaw, 6) << "the heading has no bound";
  EXPECT_EQ(gameState.rollHeld, 0);
}

TEST_F(SpecialKeyTest, RightTurnsAndBanksUntilMinusNinety) {
  press(GLUT_KEY_RIGHT);
  EXPECT_EQ(gameState.yaw, -2);
  EXPECT_EQ(gameState.roll, -2);
  EXPECT_EQ(gameState.rollHeld, 1);

  gameState.roll = -89;
  press(GLUT_KEY_RIGHT);
  EXPECT_EQ(gameState.roll, -91);

  gameState.roll = -90;
  gameState.yaw = -1000;
  press(GLUT_KEY_RIGHT);
  EXPECT_EQ(gameState.roll, -90);
  EXPECT_EQ(gameState.yaw, -1002);
  EXPECT_EQ(gameState.rollHeld, 0);
}

TEST_F(SpecialKeyTest, F2TogglesTheCameraMode) {
  EXPECT_EQ(gameState.freeCamera, 0.0f);
  press(GLUT_KEY_F2);
  EXPECT_EQ(gameState.freeCamera, 1.0f);
  press(GLUT_KEY_F2);
  EXPECT_EQ(gameState.freeCamera, 0.0f);
}

TEST_F(SpecialKeyTest, F3TogglesTheStatusAndEndsTheControlsList) {
  EXPECT_EQ(gameState.statusShown, 1);
  EXPECT_EQ(gameState.controlsListShown, 1);
  press(GLUT_KEY_F3);
  EXPECT_EQ(gameState.statusShown, 0);
  EXPECT_EQ(gameState.controlsListShown, 0);
  press(GLUT_KEY_F3);
  EXPECT_EQ(gameState.statusShown, 1);
  EXPECT_EQ(gameState.controlsListShown, 0) << "the list does not come back";
  EXPECT_EQ(gameState.freeCamera, 0.0f);
  EXPECT_EQ(gameState.fullScreen, 0.0f);
}

TEST_F(SpecialKeyTest, OtherSpecialKeysDoNothing) {
  const int keys[] = {GLUT_KEY_F4,   GLUT_KEY_F12,      GLUT_KEY_PAGE_UP, GLUT_KEY_HOME,
                      GLUT_KEY_END,  GLUT_KEY_INSERT,   0,                 -1};
  for (int key : keys) press(key);
  EXPECT_EQ(gameState.statusShown, 1);
  EXPECT_EQ(gameState.yaw, 0);
  EXPECT_EQ(gameState.pitch, 0);
  EXPECT_EQ(gameState.roll, 0);
  EXPECT_EQ(gameState.rollHeld, 0);
  EXPECT_EQ(gameState.freeCamera, 0.0f);
  EXPECT_EQ(gameState.fullScreen, 0.0f);
}

void noDisplay() {}

// Lets the X server and GLUT carry out the window requests made so far, until
// the window reports the wanted geometry or enough rounds have passed.
void settleWindow(int x, int y, int width, int height) {
  for (int round = 0; round < 100; ++round) {
    glutMainLoopEvent();
    if (glutGet(GLUT_WINDOW_X) == x && glutGet(GLUT_WINDOW_Y) == y &&
        glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) {
      return;
    }
    usleep(20000);
  }
}

TEST_F(SpecialKeyTest, F1GoesFullScreenAndBackToTheTopLeftCorner) {
  openTestWindow();
  glutDisplayFunc(noDisplay);
  const int screenWidth = glutGet(GLUT_SCREEN_WIDTH);
  const int screenHeight = glutGet(GLUT_SCREEN_HEIGHT);

  // Start away from the corner, so the way back is seen to place the window.
  // (Leaving full screen, freeglut restores the size the window had before,
  // so the window keeps the game's 640 x 480 here.)
  glutPositionWindow(100, 60);
  settleWindow(100, 60, 640, 480);
  ASSERT_EQ(glutGet(GLUT_WINDOW_X), 100);

  press(GLUT_KEY_F1);
  EXPECT_EQ(gameState.fullScreen, 1.0f);
  for (int round = 0; round < 100 && glutGet(GLUT_WINDOW_WIDTH) != screenWidth; ++round) {
    glutMainLoopEvent();
    usleep(20000);
  }
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), screenWidth);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), screenHeight);

  press(GLUT_KEY_F1);
  EXPECT_EQ(gameState.fullScreen, 0.0f);
  settleWindow(0, 0, 640, 480);
  EXPECT_EQ(glutGet(GLUT_WINDOW_X), 0);
  EXPECT_EQ(glutGet(GLUT_WINDOW_Y), 0);
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
}

}  // namespace
