// Whole frames in a real GLUT window: the physics step's timing, the camera
// placed before the flight step, the projection on reshape and the title.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "physics/world.h"
#include "platform/os/os.h"
#include "tests/support/gl_window.h"

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock() { return fakeNow; }

// Records the calls of a physics step, in order.
struct RecordingScene : NxScene {
  std::vector<float> steps;
  std::string calls;
  void simulate(float dt) override {
    steps.push_back(dt);
    calls += "s";
  }
  void flushStream() override { calls += "f"; }
  bool fetchResults(NxSimulationStatus, bool block) override {
    calls += block ? "F" : "x";
    return true;
  }
  // An empty scene: the actor walk finds nothing to do.
  NxActor* createActor(const NxActorDesc&) override { return nullptr; }
  NxU32 getNbActors() const override { return 0; }
  NxActor** getActors() override { return nullptr; }
  void setActorPairFlags(NxActor&, NxActor&, NxU32) override {}
  NxU32 getActorPairFlags(NxActor&, NxActor&) const override { return 0; }
  void getGravity(NxVec3& gravity) const override { gravity = NxVec3(); }
};

struct FrameLoopTest : testing::Test {
  RecordingScene recorder;
  void SetUp() override {
    resetGameState();
    setClockSource(fakeClock);
    scene = &recorder;
  }
  void TearDown() override {
    scene = nullptr;
    setClockSource(nullptr);
    onReshape(640, 480);
  }
};

TEST_F(FrameLoopTest, PhysicsStepsByElapsedClockAcrossWrapAndPause) {
  fakeNow = 1500;
  stepPhysics();
  // The first frame steps the whole clock value, since the last time is 0.
  ASSERT_EQ(recorder.steps.size(), 1u);
  EXPECT_FLOAT_EQ(recorder.steps[0], 1.5f);
  EXPECT_EQ(recorder.calls, "sfF");

  // The clock wraps around: unsigned arithmetic still gives 20 ms.
  gameState.lastStepTime = 0xFFFFFFF6u;
  fakeNow = 10;
  stepPhysics();
  EXPECT_FLOAT_EQ(recorder.steps.back(), 0.02f);

  // Paused frames do not step but keep the time, so the first frame after the
  // pause steps only its own time.
  gameState.paused = 1;
  fakeNow = 5000;
  stepPhysics();
  EXPECT_EQ(recorder.steps.size(), 2u);
  EXPECT_EQ(gameState.lastStepTime, 5000u);
  gameState.paused = 0;
  fakeNow = 5016;
  stepPhysics();
  EXPECT_FLOAT_EQ(recorder.steps.back(), 0.016f);

  // No scene: nothing to step, the time is still kept.
  scene = nullptr;
  fakeNow = 6000;
  stepPhysics();
  EXPECT_EQ(gameState.lastStepTime, 6000u);
  EXPECT_EQ(recorder.steps.size(), 3u);
}

TEST_F(FrameLoopTest, PausedFrameStillFliesTheShip) {
  gameState.paused = 1;
  gameState.speed = 20;
  onDisplay();
  EXPECT_TRUE(recorder.steps.empty());
  EXPECT_FLOAT_EQ(gameState.shipZ, 249.0f);
}

// The model-view matrix gluLookAt makes for the given eye and target.
std::vector<float> lookAtMatrix(double ex, double ey, double ez, double tx, double ty, double tz) {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  gluLookAt(ex, ey, ez, tx, ty, tz, 0, 1, 0);
  std::vector<float> m(16);
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  glPopMatrix();
  return m;
}

std::vector<float> currentModelView() {
  std::vector<float> m(16);
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  return m;
}

TEST_F(FrameLoopTest, ChaseCameraIsPlacedBeforeTheFlightStep) {
  gameState.speed = 300;
  gameState.yaw = 30;
  gameState.pitch = -20;
  onDisplay();
  double Y = 60 * 3.14 / 360, P = -40 * 3.14 / 360;
  std::vector<float> expected =
      lookAtMatrix(0.1 * sin(Y), 50.0 + 0.1 * sin(P) + 0.5, 250.0 + 0.1 * cos(Y), 0.0,
                   50.0 - 0.1 * sin(P) + 0.5, 250.0);
  std::vector<float> actual = currentModelView();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3f) << i;
  // Meanwhile the ship has moved 15 units ahead of that reference point.
  double moved = std::hypot(gameState.shipX - 0.0, gameState.shipZ - 250.0);
  EXPECT_NEAR(moved, 15.0, 1e-3);
}

TEST_F(FrameLoopTest, FreeCameraTurnsTheSceneAboutTheOrigin) {
  gameState.freeCamera = 1.0f;
  gameState.camPanX = 2.0f;
  gameState.camPanY = 1.0f;
  gameState.camZoom = 5.0f;
  gameState.camAngles[0] = 30.0f;
  gameState.camAngles[1] = 45.0f;
  onDisplay();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(-2.0f, -1.3f, -6.0f);
  glRotatef(30.0f, 1, 0, 0);
  glRotatef(45.0f, 0, 1, 0);
  std::vector<float> expected = currentModelView();
  glPopMatrix();
  std::vector<float> actual = currentModelView();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << i;
}

TEST_F(FrameLoopTest, ReshapeSetsViewportAndProjection) {
  onReshape(800, 600);
  EXPECT_FLOAT_EQ(gameState.aspectRatio, 1.3333334f);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 600);
  float projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  float f = 1.0f / tanf(30.0f * 3.14159265f / 180.0f);
  EXPECT_NEAR(projection[5], f, 1e-4f);
  EXPECT_NEAR(projection[0], f / 1.3333334f, 1e-4f);
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);

  // A window of height 0 keeps the last aspect ratio instead of dividing by 0.
  onReshape(500, 0);
  EXPECT_FLOAT_EQ(gameState.aspectRatio, 1.3333334f);
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_TRUE(std::isfinite(projection[0]));
}

TEST_F(FrameLoopTest, TitleShowsTheLastFrameRate) {
  onDisplay();
  EXPECT_EQ(strncmp(gameState.textBuffer, "fps[", 4), 0) << gameState.textBuffer;
  // The rate of one frame from the time since the previous measurement.
  gameState.fpsLastTime = static_cast<float>(glutGet(GLUT_ELAPSED_TIME)) - 40.0f;
  float rate = measureFrameRate();
  EXPECT_GT(rate, 0.0f);
  EXPECT_LE(rate, 25.0f);
}

}  // namespace
