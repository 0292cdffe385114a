// The background planets and the satellite's two orbits: where each model is
// placed, how the orbit angle grows, and the matrix left as found.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "tests/scenery/scene_capture.h"
#include "tests/support/gl_window.h"

namespace {

class OrbitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    startScene();
    for (int slot = 5; slot <= 8; ++slot) useMarkerModel(slot);
  }
  void TearDown() override {
    for (int slot = 5; slot <= 8; ++slot) clearModel(slot);
  }
};

void expectAt(const DrawnPoint& p, int slot, float x, float y, float z, float tolerance) {
  EXPECT_EQ(p.slot, slot);
  EXPECT_NEAR(p.x, x, tolerance);
  EXPECT_NEAR(p.y, y, tolerance);
  EXPECT_NEAR(p.z, z, tolerance);
}

TEST_F(OrbitTest, BackgroundPlanetsStandAtTheirFixedPlaces) {
  std::vector<DrawnPoint> points = captureDrawing(drawBackgroundPlanets, 1000.0f);
  ASSERT_EQ(points.size(), 2u);
  expectAt(points[0], 7, -100.0f, 400.0f, -200.0f, 0.03f);
  expectAt(points[1], 8, 200.0f, -300.0f, -100.0f, 0.03f);
}

// The orbit's tick, then the satellites drawn at the angle it leaves.
void tickAndDrawSatellites() {
  stepOrbit();
  drawSatellites(gameState.orbitAngle);
}

TEST_F(OrbitTest, SatellitesAfterTheFirstTick) {
  std::vector<DrawnPoint> points = captureDrawing(tickAndDrawSatellites, 1000.0f);
  EXPECT_FLOAT_EQ(gameState.orbitAngle, 0.01f);
  ASSERT_EQ(points.size(), 2u);
  // The angle grows before the satellites are placed.
  expectAt(points[0], 6, -4.99992f, 0.0f, 399.98f, 0.03f);
  expectAt(points[1], 6, 0.0f, 8.99985f, 799.96f, 0.03f);
}

TEST_F(OrbitTest, OrbitsFollowTheAngleWhichWrapsByAWholeTurn) {
  for (int tick = 0; tick < 99; ++tick) stepOrbit();
  std::vector<DrawnPoint> points = captureDrawing(tickAndDrawSatellites, 1000.0f);
  const double a = gameState.orbitAngle;
  EXPECT_NEAR(a, 1.0, 1e-4);
  ASSERT_EQ(points.size(), 2u);
  expectAt(points[0], 6, static_cast<float>(500 * sin(-a)), 0.0f,
           static_cast<float>(400 * cos(-a)), 0.03f);
  expectAt(points[1], 6, 0.0f, static_cast<float>(900 * sin(a)),
           static_cast<float>(800 * cos(a)), 0.03f);

  // 0.01 short of a whole turn, then one more step: the same place as an
  // angle of 2 pi + 0.005 would give, within the turn.
  gameState.orbitAngle = static_cast<float>(kOrbitTurn - 0.005);
  stepOrbit();
  EXPECT_NEAR(gameState.orbitAngle, 0.005f, 1e-6f);
  gameState.orbitAngle = 6.2f;
  stepOrbit();
  EXPECT_FLOAT_EQ(gameState.orbitAngle, 6.21f) << "wrapped before a whole turn";
}

// The first satellite's orbit angle in each frame of a second at 144 Hz,
// from where it is drawn: the frames run the ticks due (0 or 1) and draw
// between the last two. The steps from frame to frame, in radians.
std::vector<double> satelliteStepsAt144Hz() {
  const int64_t kSecond = 1000000000;
  GameClock clock;
  std::vector<double> angles;
  int ticks = 0;
  gameState.currentTick.orbitAngle = gameState.orbitAngle;  // where the hours left it
  // The free camera, unturned, only moves the world by (0, -0.3, -1).
  gameState.freeCamera = 1.0f;
  testing::internal::CaptureStdout();  // the console text of every fourth tick
  for (int64_t frame = 0; frame <= 144; ++frame) {
    int due = ticksDue(clock, kSecond + frame * kSecond / 144);
    if (frame > 0) ticks += due;
    for (int i = 0; i < due; ++i) runTick();
    std::vector<DrawnPoint> points =
        captureDrawing([&clock] { drawFrame(tickFraction(clock)); }, 700.0f);
    for (const DrawnPoint& p : points) {
      if (p.slot == 6) {
        // x = 500 sin(-a), z = 400 cos(-a)
        angles.push_back(std::atan2(-p.x / 500.0, (p.z + 1.0) / 400.0));
        break;
      }
    }
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(ticks, 60);
  EXPECT_EQ(angles.size(), 145u);
  std::vector<double> steps;
  for (size_t i = 1; i < angles.size(); ++i) {
    steps.push_back(std::remainder(angles[i] - angles[i - 1], kOrbitTurn));
  }
  return steps;
}

// The largest difference of a step from 60/144 of a tick's 0.01 radians, as
// a share of it.
double largestStepError(const std::vector<double>& steps) {
  const double kStep = 0.01 * 60 / 144;
  double largest = 0.0;
  for (double step : steps) largest = std::max(largest, std::fabs(step - kStep) / kStep);
  return largest;
}

// A display at 144 Hz runs 0 or 1 tick a frame; drawn between the last two
// ticks, the satellite still moves by the same step in every frame: in the
// first second, after ten hours of ticks (where an angle that grew for ever
// steps by a float's rounding, 0.002 radians), and across the wrap (where an
// angle drawn the long way round goes back almost a whole turn).
TEST_F(OrbitTest, AtA144HzDisplayTheSatelliteMovesByEqualStepsAtAnyHour) {
  // Each step is within 0.03 % of the even one here; the feedback's
  // coordinates come to about 1/65536 of the view.
  const double kEven = 0.01;
  double first = largestStepError(satelliteStepsAt144Hz());
  EXPECT_LT(first, kEven) << "in the first second";

  for (int64_t tick = 0; tick < 10LL * 3600 * 60; ++tick) stepOrbit();
  EXPECT_GE(gameState.orbitAngle, 0.0f);
  EXPECT_LT(gameState.orbitAngle, static_cast<float>(kOrbitTurn));
  double tenHours = largestStepError(satelliteStepsAt144Hz());
  EXPECT_LT(tenHours, kEven) << "after ten hours";

  gameState.orbitAngle = static_cast<float>(kOrbitTurn - 0.3);
  double acrossTheWrap = largestStepError(satelliteStepsAt144Hz());
  EXPECT_NEAR(gameState.orbitAngle, 0.31f, 1e-4f) << "61 ticks from 0.3 short of a turn";
  EXPECT_LT(acrossTheWrap, kEven) << "across the wrap";
}

TEST_F(OrbitTest, EveryStepLeavesTheModelViewMatrixAsFound) {
  glLoadIdentity();
  glTranslatef(3.0f, -4.0f, 5.0f);
  glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  gameState.missilesFlying = 1;
  gameState.WiimoteButtons.buttonB = 1;
  void (*steps[])() = {drawBackgroundPlanets, drawStarfield, tickAndDrawSatellites,
                       [] { drawMissiles(stepMissiles()); }, fireFromWiimote};
  for (auto step : steps) {
    step();
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OrbitTest, EmptySlotsDrawNothing) {
  for (int slot = 5; slot <= 8; ++slot) clearModel(slot);
  gameState.missilesFlying = 1;
  std::vector<DrawnPoint> points = captureDrawing(
      [] {
        drawBackgroundPlanets();
        tickAndDrawSatellites();
        drawMissiles(stepMissiles());
      },
      1000.0f);
  EXPECT_TRUE(points.empty());
  EXPECT_EQ(gameState.missileTravel, -1.0f) << "the flight goes on without a model";
}

}  // namespace
