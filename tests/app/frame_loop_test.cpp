// Whole frames in a real GLUT window: the physics step's timing, the camera
// placed before the flight step, the projection on reshape and the title.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "physics/world.h"
#include "platform/os/os.h"
#include "tests/support/gl_window.h"

namespace {

// Records the calls of a physics step, in order.
struct RecordingScene : NxScene {
  std::vector<float> steps;
  std::string calls;
  std::vector<float> shipZAtStep;  // where the ship stood at each step
  bool backAway = false;           // each step acts as a start of touch does
  void simulate(float dt) override {
    steps.push_back(dt);
    calls += "s";
    shipZAtStep.push_back(gameState.shipZ);
    if (backAway) gameState.speed = -2;
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
    scene = &recorder;
  }
  void TearDown() override {
    scene = nullptr;
    onReshape(640, 480);
  }
};

TEST_F(FrameLoopTest, PhysicsStepsASixtiethOfASecondPerTickUnlessPaused) {
  stepPhysics();
  stepPhysics();
  ASSERT_EQ(recorder.steps.size(), 2u);
  EXPECT_EQ(recorder.steps[0], 1.0f / 60.0f);
  EXPECT_EQ(recorder.steps[1], 1.0f / 60.0f);
  EXPECT_EQ(recorder.calls, "sfFsfF");

  gameState.paused = 1;
  stepPhysics();
  EXPECT_EQ(recorder.steps.size(), 2u);
  scene = nullptr;
  gameState.paused = 0;
  stepPhysics();  // no scene: nothing to step
}

TEST_F(FrameLoopTest, PausedTickStillFliesTheShip) {
  gameState.paused = 1;
  gameState.speed = 20;
  runTick();
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

TEST_F(FrameLoopTest, ChaseCameraIsPlacedBeforeTheFlightStepAndDrawnBetweenTicks) {
  gameState.speed = 300;
  gameState.yaw = 30;
  gameState.pitch = -20;
  runTick();
  runTick();
  // A frame right at the second tick's start shows the first tick's camera:
  // placed from where the ship stood before that tick's flight step.
  drawFrame(0.0);
  double Y = 60 * 3.14 / 360, P = -40 * 3.14 / 360;
  std::vector<float> expected =
      lookAtMatrix(0.1 * sin(Y), 50.0 + 0.1 * sin(P) + 0.5, 250.0 + 0.1 * cos(Y), 0.0,
                   50.0 - 0.1 * sin(P) + 0.5, 250.0);
  std::vector<float> actual = currentModelView();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3f) << i;
  // Meanwhile the ship has moved 15 units ahead of that reference point in
  // each tick.
  double moved = std::hypot(gameState.shipX - 0.0, gameState.shipZ - 250.0);
  EXPECT_NEAR(moved, 30.0, 1e-3);

  // A quarter of a tick on, the camera has moved a quarter of the way: 3.75
  // units ahead, and up by a quarter of the climb of cos(P) a tick.
  drawFrame(0.25);
  double x = -3.75 * sin(Y), y = 50.0 + 0.25 * cos(P), z = 250.0 - 3.75 * cos(Y);
  expected = lookAtMatrix(x + 0.1 * sin(Y), y + 0.1 * sin(P) + 0.5, z + 0.1 * cos(Y), x,
                          y - 0.1 * sin(P) + 0.5, z);
  actual = currentModelView();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3f) << i;
}

// The physics step comes first in a tick: it sees the ship where the last
// tick left it, and a touch's speed of -2 (set by the contact report inside
// the step) moves the ship back in the same tick.
TEST_F(FrameLoopTest, ThePhysicsStepComesBeforeTheFlightInEachTick) {
  gameState.speed = 20;
  runTick();
  ASSERT_EQ(recorder.shipZAtStep.size(), 1u);
  EXPECT_EQ(recorder.shipZAtStep[0], 250.0f);
  EXPECT_FLOAT_EQ(gameState.shipZ, 249.0f);
  recorder.backAway = true;
  runTick();
  ASSERT_EQ(recorder.shipZAtStep.size(), 2u);
  EXPECT_FLOAT_EQ(recorder.shipZAtStep[1], 249.0f);
  EXPECT_FLOAT_EQ(gameState.shipZ, 249.1f) << "backed away in the tick of the touch";
}

// The Wii Remote's Up and Down change the speed by 2 a tick, not a frame: a
// second of frames at 144 Hz with Up held runs 60 ticks (and the first
// frame's one) and speeds up by 122.
TEST_F(FrameLoopTest, TheWiiRemotesSpeedStepsOncePerTickNotPerFrame) {
  const int64_t kSecond = 1000000000;
  gameClock = GameClock{};
  gameState.WiimoteButtons.buttonUp = 1;
  testing::internal::CaptureStdout();
  for (int64_t frame = 0; frame <= 144; ++frame) runFrame(kSecond + frame * kSecond / 144);
  EXPECT_EQ(recorder.steps.size(), 61u);
  EXPECT_EQ(gameState.speed, 122);

  // Whole frames as the game runs them, free-running: however many frames
  // the time held, the speed grew by 2 in each tick alone.
  framePacing = false;
  size_t ticks = recorder.steps.size();
  int speed = gameState.speed;
  for (int frame = 0; frame < 8; ++frame) onDisplay();
  testing::internal::GetCapturedStdout();
  framePacing = true;
  gameState.WiimoteButtons.buttonUp = 0;
  EXPECT_EQ(gameState.speed - speed, 2 * static_cast<int>(recorder.steps.size() - ticks));
}

// Only a window that cannot be seen stops: iconified or fully covered. A
// window partly covered by another goes on ticking and drawing.
TEST_F(FrameLoopTest, APartlyCoveredWindowGoesOn) {
  gameClock = GameClock{};
  const std::pair<int, bool> states[] = {{GLUT_FULLY_RETAINED, true}, {GLUT_PARTIALLY_RETAINED, true},
                                         {GLUT_FULLY_COVERED, false}, {GLUT_PARTIALLY_RETAINED, true},
                                         {GLUT_HIDDEN, false}};
  for (const auto& state : states) {
    onWindowStatus(state.first);
    EXPECT_EQ(windowShown, state.second) << "window status " << state.first;
  }
  onWindowStatus(GLUT_PARTIALLY_RETAINED);
  testing::internal::CaptureStdout();
  onDisplay();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(recorder.steps.size(), 1u) << "the first frame of a partly covered window runs its tick";
  onWindowStatus(GLUT_FULLY_RETAINED);
}

// The same heading, whole turns apart, from a drawn angle and the one meant.
double turnsApart(double drawn, double meant) {
  return std::remainder(drawn - meant, 360.0);
}

// The heading has no bound: tilt steering's first tick may set it from
// thousands of degrees to the remote's tilt. Between those two ticks the
// ship turns the short way, never through whole turns.
TEST_F(FrameLoopTest, TurnsBetweenTicksAreDrawnTheShortWayRound) {
  ShipPose from, to;
  from.yaw = 3607.0f;  // 7 degrees, ten turns on
  to.yaw = 13.0f;
  from.pitch = -170.0f;
  to.pitch = 170.0f;  // 20 degrees apart through the nose-over
  from.roll = 4.0f;
  to.roll = 3.0f;
  ShipPose drawn = shipBetween(from, to, 0.5);
  EXPECT_NEAR(turnsApart(drawn.yaw, 10.0), 0.0, 1e-3) << drawn.yaw;
  EXPECT_NEAR(drawn.yaw, 3610.0f, 1e-3f) << "moved on from where the ship was drawn";
  EXPECT_NEAR(turnsApart(drawn.pitch, 180.0), 0.0, 1e-3) << drawn.pitch;
  EXPECT_FLOAT_EQ(drawn.roll, 3.5f);
  EXPECT_NEAR(turnsApart(shipBetween(from, to, 0.0).yaw, 7.0), 0.0, 1e-3);
  EXPECT_NEAR(turnsApart(shipBetween(from, to, 0.999).yaw, 13.0), 0.0, 0.01);

  // Through the game: a tick that takes the heading from 3607 to the
  // remote's 10 degrees; drawn half-way, the ship and the camera behind it
  // head 8.5 degrees.
  gameState.yaw = 3607;
  runTick();
  gameState.tiltSteering = 1;
  gameState.tiltYaw = 0.1745f;  // 10.0 degrees at 6.28 a turn
  runTick();
  ASSERT_EQ(gameState.yaw, 10);
  const TickState& a = gameState.previousTick;
  const TickState& b = gameState.currentTick;
  EXPECT_NEAR(turnsApart(shipBetween(a.camera, b.camera, 0.5).yaw, 8.5), 0.0, 1e-3);
  EXPECT_NEAR(turnsApart(shipBetween(a.ship, b.ship, 0.5).yaw, 8.5), 0.0, 1e-3);
}

TEST_F(FrameLoopTest, FreeCameraTurnsTheSceneAboutTheOrigin) {
  gameState.freeCamera = 1.0f;
  gameState.camPanX = 2.0f;
  gameState.camPanY = 1.0f;
  gameState.camZoom = 5.0f;
  gameState.camAngles[0] = 30.0f;
  gameState.camAngles[1] = 45.0f;
  drawFrame(0.5);
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

// A hidden window's time must come back neither as game time nor as a burst
// of the ticks it missed, also not one frame late: the frames' game time is
// taken when the frame before was shown.
TEST_F(FrameLoopTest, AWindowShownAgainGoesOnWithoutABurst) {
  gameClock = GameClock{};
  onDisplay();
  EXPECT_EQ(recorder.steps.size(), 1u) << "the first frame runs one tick";
  onWindowStatus(GLUT_HIDDEN);
  usleep(300000);
  onDisplay();
  EXPECT_EQ(recorder.steps.size(), 1u) << "a hidden window ticks nothing";
  onWindowStatus(GLUT_FULLY_RETAINED);
  int64_t shown = monotonicNanoseconds();
  onDisplay();
  onDisplay();
  // Two frames run the ticks of the time since the window showed, and the
  // part of a tick pending before: the 300 ms hidden would be 8 more.
  int64_t most = (monotonicNanoseconds() - shown) * 60 / 1000000000 + 1;
  EXPECT_LE(static_cast<int64_t>(recorder.steps.size()) - 1, most);
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
