// The background planets and the satellite's two orbits: where each model is
// placed, how the orbit angle grows, and the matrix left as found.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
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

TEST_F(OrbitTest, OrbitsFollowTheGrowingAngleWithoutWrapping) {
  for (int tick = 0; tick < 99; ++tick) stepOrbit();
  std::vector<DrawnPoint> points = captureDrawing(tickAndDrawSatellites, 1000.0f);
  const double a = gameState.orbitAngle;
  EXPECT_NEAR(a, 1.0, 1e-4);
  ASSERT_EQ(points.size(), 2u);
  expectAt(points[0], 6, static_cast<float>(500 * sin(-a)), 0.0f,
           static_cast<float>(400 * cos(-a)), 0.03f);
  expectAt(points[1], 6, 0.0f, static_cast<float>(900 * sin(a)),
           static_cast<float>(800 * cos(a)), 0.03f);

  gameState.orbitAngle = 100.0f;  // never wrapped: keeps its float value
  stepOrbit();
  EXPECT_FLOAT_EQ(gameState.orbitAngle, 100.01f);
}

// A display at 144 Hz runs 0 or 1 tick a frame; drawn between the last two
// ticks, the satellite still moves by the same step in every frame.
TEST_F(OrbitTest, AtA144HzDisplayTheSatelliteMovesByEqualStepsEveryFrame) {
  const int64_t kSecond = 1000000000;
  GameClock clock;
  std::vector<DrawnPoint> drawn;
  int ticks = 0;
  testing::internal::CaptureStdout();  // the console text of every fourth tick
  for (int64_t frame = 0; frame <= 144; ++frame) {
    int due = ticksDue(clock, kSecond + frame * kSecond / 144);
    if (frame > 0) ticks += due;
    for (int i = 0; i < due; ++i) runTick();
    std::vector<DrawnPoint> points =
        captureDrawing([&clock] { drawFrame(tickFraction(clock)); }, 700.0f);
    for (const DrawnPoint& p : points) {
      if (p.slot == 6) {
        drawn.push_back(p);  // the first satellite, on its horizontal orbit
        break;
      }
    }
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(ticks, 60);
  ASSERT_EQ(drawn.size(), 145u);
  double last = 0.0;
  for (size_t i = 1; i < drawn.size(); ++i) {
    const DrawnPoint& a = drawn[i - 1];
    const DrawnPoint& b = drawn[i];
    double step = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
    // 0.01 radians a tick on an orbit of 400 to 500, 60/144 of a tick a frame.
    EXPECT_NEAR(step, 2.0, 0.2) << "frame " << i;
    if (i > 1) {
      EXPECT_NEAR(step, last, 0.05 * last) << "frame " << i << " against the one before";
    }
    last = step;
  }
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
