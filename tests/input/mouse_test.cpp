// Mouse drags: drag modes by button and modifiers, ship steering in the chase
// camera, the free camera's rotation, zoom and pan, and the one-turn rule.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "app/game_state.h"
#include "input/mouse.h"

namespace {

int heldModifiers = 0;
int fakeModifiers() {
  return heldModifiers;
}

class MouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameState();
    heldModifiers = 0;
    readMouseModifiers = fakeModifiers;
  }
  void down(int button, int x, int y) { onMouseButton(button, GLUT_DOWN, x, y); }
  void up(int button, int x, int y) { onMouseButton(button, GLUT_UP, x, y); }
};

TEST_F(MouseTest, LeftButtonRotatesUnlessCtrlAloneIsHeld) {
  struct Case {
    int modifiers;
    int mode;
  } cases[] = {
      {0, 0},
      {GLUT_ACTIVE_CTRL, 2},
      {GLUT_ACTIVE_CTRL | GLUT_ACTIVE_SHIFT, 0},
      {GLUT_ACTIVE_CTRL | GLUT_ACTIVE_ALT, 0},
      {GLUT_ACTIVE_SHIFT, 0},
  };
  for (const Case& c : cases) {
    resetGameState();
    heldModifiers = c.modifiers;
    down(GLUT_LEFT_BUTTON, 40, 50);
    EXPECT_EQ(gameState.mouseMode, c.mode) << "modifiers " << c.modifiers;
    EXPECT_EQ(gameState.rollHeld, 1);
    EXPECT_EQ(gameState.mousePress[0], 40);
    EXPECT_EQ(gameState.mousePress[1], 50);
    EXPECT_EQ(gameState.mouseLast[0], 40);
    EXPECT_EQ(gameState.mouseLast[1], 50);
  }
}

TEST_F(MouseTest, RightButtonZoomsAndOtherButtonsKeepTheMode) {
  heldModifiers = GLUT_ACTIVE_CTRL;
  down(GLUT_RIGHT_BUTTON, 1, 2);
  EXPECT_EQ(gameState.mouseMode, 1);
  EXPECT_EQ(gameState.rollHeld, 0);
  down(GLUT_MIDDLE_BUTTON, 3, 4);
  EXPECT_EQ(gameState.mouseMode, 1);
  EXPECT_EQ(gameState.mousePress[0], 3);
  down(5, 6, 7);  // a wheel or extra button
  EXPECT_EQ(gameState.mouseMode, 1);
  EXPECT_EQ(gameState.mouseLast[1], 7);
}

TEST_F(MouseTest, APressOfAnyButtonEndsTheControlsListAndAReleaseDoesNot) {
  up(GLUT_LEFT_BUTTON, 10, 10);
  onMouseMotion(20, 20);
  EXPECT_EQ(gameState.controlsListShown, 1);
  down(5, 6, 7);
  EXPECT_EQ(gameState.controlsListShown, 0);
}

TEST_F(MouseTest, AnyReleaseEndsTheDragAndMovesOnlyTheLastPoint) {
  down(GLUT_LEFT_BUTTON, 100, 100);
  down(GLUT_RIGHT_BUTTON, 120, 90);
  EXPECT_EQ(gameState.mouseMode, 1) << "a second button replaces the mode";
  up(GLUT_MIDDLE_BUTTON, 130, 80);
  EXPECT_EQ(gameState.mouseMode, -1);
  EXPECT_EQ(gameState.mouseLast[0], 130);
  EXPECT_EQ(gameState.mouseLast[1], 80);
  EXPECT_EQ(gameState.mousePress[0], 120);
  EXPECT_EQ(gameState.mousePress[1], 90);
}

TEST_F(MouseTest, HeadingFollowsTheDistanceTruncatedTowardZero) {
  gameState.yaw = 10;
  down(GLUT_MIDDLE_BUTTON, 200, 200);
  onMouseMotion(197, 200);  // 3 pixels left
  EXPECT_EQ(gameState.yaw, 11);
  EXPECT_EQ(gameState.roll, 2);
  EXPECT_EQ(gameState.pitch, 0);
  EXPECT_EQ(gameState.rollHeld, 1);
  EXPECT_EQ(gameState.mouseMode, -1) << "the middle button steers without a drag mode";

  gameState.yaw = -10;
  onMouseMotion(200, 200);  // 3 pixels right
  EXPECT_EQ(gameState.yaw, -11) << "-11.5 truncates toward zero";
  EXPECT_EQ(gameState.roll, 0);
}

TEST_F(MouseTest, BankAndPitchMoveByTwoPerEventUpToTheirBounds) {
  down(GLUT_RIGHT_BUTTON, 50, 50);
  onMouseMotion(50, 10);  // 40 pixels up
  EXPECT_EQ(gameState.pitch, -2);
  onMouseMotion(50, 90);  // 80 pixels down
  EXPECT_EQ(gameState.pitch, 0);

  gameState.pitch = -89;
  onMouseMotion(50, 80);
  EXPECT_EQ(gameState.pitch, -91);
  onMouseMotion(50, 70);
  EXPECT_EQ(gameState.pitch, -91);
  gameState.pitch = 90;
  onMouseMotion(50, 75);
  EXPECT_EQ(gameState.pitch, 90);

  gameState.roll = 90;
  onMouseMotion(40, 75);
  EXPECT_EQ(gameState.roll, 90);
  gameState.roll = -90;
  onMouseMotion(60, 75);
  EXPECT_EQ(gameState.roll, -90);
}

TEST_F(MouseTest, SteeringStartsFromTheLastEventNotTheAnchor) {
  down(GLUT_LEFT_BUTTON, 100, 100);
  up(GLUT_LEFT_BUTTON, 110, 100);
  onMouseMotion(104, 100);  // 6 left of the release, 4 right of the press
  EXPECT_EQ(gameState.yaw, 3);
}

TEST_F(MouseTest, AMotionWithoutMovementStillHoldsTheBank) {
  down(GLUT_RIGHT_BUTTON, 10, 10);
  onMouseMotion(10, 10);
  EXPECT_EQ(gameState.rollHeld, 1);
  EXPECT_EQ(gameState.yaw, 0);
  EXPECT_EQ(gameState.roll, 0);
  EXPECT_EQ(gameState.pitch, 0);
}

TEST_F(MouseTest, FreeCameraDragNeverSteersTheShip) {
  gameState.freeCamera = 1.0f;
  gameState.yaw = 4;
  gameState.roll = 6;
  gameState.pitch = -8;
  down(GLUT_RIGHT_BUTTON, 10, 10);
  onMouseMotion(50, 80);
  onMouseMotion(0, 0);
  EXPECT_EQ(gameState.yaw, 4);
  EXPECT_EQ(gameState.roll, 6);
  EXPECT_EQ(gameState.pitch, -8);
  EXPECT_EQ(gameState.rollHeld, 0);
  EXPECT_NE(gameState.camZoom, 0.0f) << "the camera still moves";
}

TEST_F(MouseTest, RotateTurnsOneDegreePerPixel) {
  gameState.freeCamera = 1.0f;
  down(GLUT_LEFT_BUTTON, 100, 100);
  onMouseMotion(130, 120);  // right 30, down 20
  EXPECT_EQ(gameState.camAngles[0], 20.0f);
  EXPECT_EQ(gameState.camAngles[1], 30.0f);
  onMouseMotion(120, 125);  // from the moved anchor: left 10, down 5
  EXPECT_EQ(gameState.camAngles[0], 25.0f);
  EXPECT_EQ(gameState.camAngles[1], 20.0f);
  EXPECT_EQ(gameState.mousePress[0], 120);
  EXPECT_EQ(gameState.mousePress[1], 125);
}

TEST_F(MouseTest, AnglesBeyondOneTurnResetToZero) {
  gameState.freeCamera = 1.0f;
  gameState.camAngles[1] = 359.0f;
  down(GLUT_LEFT_BUTTON, 0, 0);
  onMouseMotion(3, 0);
  EXPECT_EQ(gameState.camAngles[1], 0.0f) << "362 resets to 0, not 2";

  gameState.camAngles[1] = 358.0f;
  onMouseMotion(5, 0);
  EXPECT_EQ(gameState.camAngles[1], 360.0f) << "360 itself is kept";

  gameState.camAngles[0] = -359.0f;
  onMouseMotion(5, -1);
  EXPECT_EQ(gameState.camAngles[0], -360.0f);
  onMouseMotion(5, -2);
  EXPECT_EQ(gameState.camAngles[0], 0.0f);
}

TEST_F(MouseTest, LimitCameraAnglesActsOnEachAngleAlone) {
  float angles[2] = {360.5f, -360.0f};
  limitCameraAngles(angles);
  EXPECT_EQ(angles[0], 0.0f);
  EXPECT_EQ(angles[1], -360.0f);
  angles[0] = 720.0f;
  angles[1] = -361.0f;
  limitCameraAngles(angles);
  EXPECT_EQ(angles[0], 0.0f);
  EXPECT_EQ(angles[1], 0.0f);
}

TEST_F(MouseTest, ZoomAndPanFollowTheDrag) {
  gameState.freeCamera = 1.0f;
  down(GLUT_RIGHT_BUTTON, 300, 200);
  onMouseMotion(300, 220);  // 20 pixels below the anchor
  EXPECT_FLOAT_EQ(gameState.camZoom, 1.0f);

  up(GLUT_RIGHT_BUTTON, 300, 220);
  heldModifiers = GLUT_ACTIVE_CTRL;
  down(GLUT_LEFT_BUTTON, 300, 200);
  onMouseMotion(400, 200);  // 100 pixels right of the anchor
  EXPECT_FLOAT_EQ(gameState.camPanX, -1.0f);
  EXPECT_FLOAT_EQ(gameState.camPanY, 0.0f);
  onMouseMotion(400, 150);  // 50 pixels up
  EXPECT_FLOAT_EQ(gameState.camPanY, -0.5f);
  EXPECT_FLOAT_EQ(gameState.camZoom, 1.0f) << "pan leaves the zoom alone";
  EXPECT_EQ(gameState.camAngles[0], 0.0f);
}

TEST_F(MouseTest, WithoutADragModeTheCameraStays) {
  gameState.freeCamera = 1.0f;
  down(GLUT_MIDDLE_BUTTON, 0, 0);
  onMouseMotion(70, 90);
  EXPECT_EQ(gameState.camAngles[0], 0.0f);
  EXPECT_EQ(gameState.camAngles[1], 0.0f);
  EXPECT_EQ(gameState.camZoom, 0.0f);
  EXPECT_EQ(gameState.camPanX, 0.0f);
  EXPECT_EQ(gameState.mousePress[0], 70) << "the anchor follows in every mode";
}

}  // namespace
