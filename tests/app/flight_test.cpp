// Flight, the return of the bank to level, tilt steering, the Wii Remote
// speed buttons and the console text, one frame step at a time.
#include <gtest/gtest.h>

#include <string>

#include "app/frame_loop.h"
#include "app/game_state.h"

namespace {

struct FlightTest : testing::Test {
  void SetUp() override { resetGameState(); }
};

TEST_F(FlightTest, HeadingNinetyFliesTowardMinusXWithThreePointOneFourForPi) {
  gameState.yaw = 90;
  gameState.speed = 20;
  flyShip();
  // 3.14 stands for pi: sin(1.57) and cos(1.57), not 1 and 0.
  EXPECT_NEAR(gameState.shipX, -0.9999997f, 1e-6f);
  EXPECT_NEAR(gameState.shipZ, 250.0f - 0.0007963f, 2e-5f);
  EXPECT_LT(gameState.shipZ, 250.0f);
  EXPECT_FLOAT_EQ(gameState.altitude, 50.0f);
}

TEST_F(FlightTest, PitchChangesAltitudeOnlyWhileMoving) {
  gameState.pitch = -10;
  gameState.speed = 0;
  flyShip();
  EXPECT_FLOAT_EQ(gameState.altitude, 50.0f);
  EXPECT_FLOAT_EQ(gameState.shipZ, 250.0f);

  // Any non-zero speed, even backward, raises a nose-up ship by the same rule.
  gameState.speed = -2;
  flyShip();
  EXPECT_NEAR(gameState.altitude, 50.0f + 0.4924f, 1e-4f);
  gameState.speed = 40;
  flyShip();
  EXPECT_NEAR(gameState.altitude, 50.0f + 2 * 0.4924f, 2e-4f);
}

TEST_F(FlightTest, RollReturnsToLevelOneDegreePerFrame) {
  gameState.roll = 5;
  gameState.previousRoll = 5;
  int seen[6];
  for (int& r : seen) {
    levelRoll();
    r = gameState.roll;
  }
  EXPECT_EQ(seen[0], 4);
  EXPECT_EQ(seen[3], 1);
  EXPECT_EQ(seen[4], 0);
  EXPECT_EQ(seen[5], 0);

  gameState.roll = -2;
  levelRoll();
  EXPECT_EQ(gameState.roll, -1);
}

TEST_F(FlightTest, HeldRollIsRecordedOneFrameThenReleased) {
  // An input moved the bank this frame: the frame only records it.
  gameState.roll = 10;
  gameState.previousRoll = 8;
  gameState.rollHeld = 1;
  levelRoll();
  EXPECT_EQ(gameState.roll, 10);
  EXPECT_EQ(gameState.previousRoll, 10);
  EXPECT_EQ(gameState.rollHeld, 1);
  // Next frame with no new input: the hold is cleared and the bank returns.
  levelRoll();
  EXPECT_EQ(gameState.rollHeld, 0);
  EXPECT_EQ(gameState.roll, 9);
}

TEST_F(FlightTest, TiltSteeringReplacesHeadingAndPitchTruncated) {
  gameState.yaw = 40;
  gameState.pitch = 7;
  gameState.tiltYaw = 0.0314f;  // 1.8 degrees
  gameState.tiltPitch = -0.0314f;
  applyTiltSteering();
  EXPECT_EQ(gameState.yaw, 40) << "tilt steering is off until switched on";
  gameState.tiltSteering = 1;
  applyTiltSteering();
  EXPECT_EQ(gameState.yaw, 1);
  EXPECT_EQ(gameState.pitch, -1);
}

TEST_F(FlightTest, WiimoteCrossChangesSpeedWithinBounds) {
  gameState.WiimoteButtons.buttonUp = 1;
  gameState.speed = 300;
  speedFromWiimote();
  EXPECT_EQ(gameState.speed, 300);
  gameState.speed = 298;
  speedFromWiimote();
  EXPECT_EQ(gameState.speed, 300);

  // Both held at the bound: only the decrease applies.
  gameState.WiimoteButtons.buttonDown = 1;
  speedFromWiimote();
  EXPECT_EQ(gameState.speed, 298);
  gameState.speed = 100;
  speedFromWiimote();
  EXPECT_EQ(gameState.speed, 100) << "both held cancel out inside the bounds";

  gameState.WiimoteButtons.buttonUp = 0;
  gameState.speed = 300;
  speedFromWiimote();
  EXPECT_EQ(gameState.speed, 298);
  gameState.speed = -300;
  speedFromWiimote();
  EXPECT_EQ(gameState.speed, -300);
}

TEST_F(FlightTest, ConsoleWrittenInTheFifthFrameThenEveryFourth) {
  gameState.speed = 12;
  gameState.pitch = -3;
  gameState.yaw = 45;
  std::vector<bool> written;
  std::string last;
  for (int frame = 1; frame <= 13; ++frame) {
    testing::internal::CaptureStdout();
    writeConsoleText();
    std::string out = testing::internal::GetCapturedStdout();
    written.push_back(!out.empty());
    if (!out.empty()) last = out;
  }
  std::vector<bool> expected = {false, false, false, false, true, false, false,
                                false, true,  false, false, false, true};
  EXPECT_EQ(written, expected);
  EXPECT_EQ(last.rfind("Liste des controles\n\nF1 = plein ecran\n", 0), 0u);
  EXPECT_NE(last.find("g = tirer missiles\nEchap = quitter\n\n"), std::string::npos);
  // Captured output is not a terminal: no clear sequence in it.
  EXPECT_EQ(last.find('\x1b'), std::string::npos);
  std::string status = "Speed = 12 km/h  Altitude = 50.000000 Pitch = -3  Yaw = 45 \n";
  ASSERT_GE(last.size(), status.size());
  EXPECT_EQ(last.substr(last.size() - status.size()), status);
}

}  // namespace
