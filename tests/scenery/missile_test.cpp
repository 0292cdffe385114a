// The missile pair: its 31 frames of flight, where it is drawn from the
// firing point and heading, firing again during a flight, the Wii Remote's B
// button, and the pair seen in a real picture from the chase camera.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "input/keyboard.h"
#include "model/model_table.h"
#include "tests/scenery/scene_capture.h"
#include "tests/support/gl_window.h"

namespace {

const float kExtent = 1000.0f;
// Feedback coordinates come back snapped to about 1/65536 of the view.
const float kTolerance = 0.03f;

struct Vec {
  double x, y, z;
};

// Where a point (x, y, z) of the missile frame lands for a pair fired from
// `origin` with the given heading and pitch: turned nose down by the pitch
// about x, then by the heading about y (rotations worked out by hand).
Vec missileFramePoint(const int origin[3], int yaw, int pitch, Vec p) {
  const double kDegree = M_PI / 180.0;
  double a = -pitch * kDegree;
  Vec q{p.x, p.y * cos(a) - p.z * sin(a), p.y * sin(a) + p.z * cos(a)};
  double b = yaw * kDegree;
  Vec r{q.x * cos(b) + q.z * sin(b), q.y, -q.x * sin(b) + q.z * cos(b)};
  return Vec{origin[0] + r.x, origin[1] + r.y, origin[2] + r.z};
}

class MissileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    startScene();
    useMarkerModel(5);
  }
  void TearDown() override { clearModel(5); }

  // One tick's missile and firing steps, in the tick's order, with the pair
  // drawn as the tick leaves it; returns the missiles drawn.
  std::vector<DrawnPoint> frame() {
    // The pair is drawn from the firing record as it stands when the tick
    // begins; the fire step after it may change the record.
    drawnOrigin[0] = gameState.missileOrigin[0];
    drawnOrigin[1] = gameState.missileOrigin[1];
    drawnOrigin[2] = gameState.missileOrigin[2];
    drawnYaw = gameState.missileYaw;
    drawnPitch = gameState.missilePitch;
    return captureDrawing(
        [] {
          drawMissiles(stepMissiles());
          fireFromWiimote();
        },
        kExtent);
  }

  // Checks that the last frame drew the pair where a pair fired with the
  // frame's firing record stands after `travel`.
  void expectPair(const std::vector<DrawnPoint>& points, float travel) {
    ASSERT_EQ(points.size(), 2u) << "at travel " << travel;
    Vec first = missileFramePoint(drawnOrigin, drawnYaw, drawnPitch, Vec{-1.5, -0.8, travel - 8.0});
    Vec second = missileFramePoint(drawnOrigin, drawnYaw, drawnPitch, Vec{1.0, -0.8, travel - 8.0});
    EXPECT_EQ(points[0].slot, 5);
    EXPECT_NEAR(points[0].x, first.x, kTolerance) << "at travel " << travel;
    EXPECT_NEAR(points[0].y, first.y, kTolerance) << "at travel " << travel;
    EXPECT_NEAR(points[0].z, first.z, kTolerance) << "at travel " << travel;
    EXPECT_NEAR(points[1].x, second.x, kTolerance) << "at travel " << travel;
    EXPECT_NEAR(points[1].y, second.y, kTolerance) << "at travel " << travel;
    EXPECT_NEAR(points[1].z, second.z, kTolerance) << "at travel " << travel;
  }

  int drawnOrigin[3] = {0, 0, 0};
  int drawnYaw = 0, drawnPitch = 0;
};

TEST_F(MissileTest, APairFliesFor31FramesThenGoesIdle) {
  onKeyboard('g', 0, 0);
  for (int n = 1; n <= 31; ++n) {
    std::vector<DrawnPoint> points = frame();
    expectPair(points, static_cast<float>(-n));
  }
  EXPECT_EQ(gameState.missilesFlying, 0);
  EXPECT_EQ(gameState.missileTravel, 0.0f);
  EXPECT_TRUE(frame().empty());
  EXPECT_EQ(gameState.missileTravel, 0.0f) << "an idle pair does not travel";
}

TEST_F(MissileTest, TheFirstFrameIsNineUnitsAheadOfTheFiringPoint) {
  onKeyboard('g', 0, 0);  // from (0, 50, 250), heading 0: toward -z
  std::vector<DrawnPoint> points = frame();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_NEAR(points[0].x, -1.5f, kTolerance);
  EXPECT_NEAR(points[0].y, 49.2f, kTolerance);
  EXPECT_NEAR(points[0].z, 241.0f, kTolerance);
  EXPECT_NEAR(points[1].x, 1.0f, kTolerance) << "2.5 units right of the first";
}

TEST_F(MissileTest, ThePairFollowsTheHeadingAndPitchOfTheFiring) {
  gameState.yaw = 90;  // turned left: flies toward -x
  onKeyboard('g', 0, 0);
  std::vector<DrawnPoint> points = frame();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_NEAR(points[0].x, -9.0f, kTolerance);
  EXPECT_NEAR(points[0].z, 251.5f, kTolerance);

  resetGameState();
  gameState.pitch = 90;  // nose down: the pair goes down
  onKeyboard('g', 0, 0);
  points = frame();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_NEAR(points[0].y, 41.0f, kTolerance);
  EXPECT_NEAR(points[0].z, 250.8f, kTolerance);

  resetGameState();
  gameState.yaw = -37;
  gameState.pitch = 23;
  gameState.shipX = 40.0f;
  onKeyboard('g', 0, 0);
  for (int n = 1; n <= 5; ++n) expectPair(frame(), static_cast<float>(-n));
}

TEST_F(MissileTest, FiringAtTravelMinus20MovesThePairForItsLast11Frames) {
  onKeyboard('g', 0, 0);
  for (int n = 1; n <= 20; ++n) frame();
  ASSERT_EQ(gameState.missileTravel, -20.0f);
  gameState.shipX = 30.6f;
  gameState.altitude = 12.2f;
  gameState.shipZ = -70.9f;
  gameState.yaw = 45;
  onKeyboard('g', 0, 0);
  EXPECT_EQ(gameState.missileOrigin[0], 30);
  EXPECT_EQ(gameState.missileOrigin[2], -70);
  for (int n = 21; n <= 31; ++n) expectPair(frame(), static_cast<float>(-n));
  EXPECT_TRUE(frame().empty());
}

TEST_F(MissileTest, BIsSeenAfterTheMissileStepAndTruncatesTheOrigin) {
  gameState.shipX = -3.7f;
  gameState.altitude = 50.5f;
  gameState.shipZ = 249.9f;
  gameState.WiimoteButtons.buttonB = 1;
  EXPECT_TRUE(frame().empty()) << "not drawn in the frame B is first seen";
  EXPECT_EQ(gameState.missilesFlying, 1);
  EXPECT_EQ(gameState.missileOrigin[0], -3);
  EXPECT_EQ(gameState.missileOrigin[1], 50);
  EXPECT_EQ(gameState.missileOrigin[2], 249);
  EXPECT_EQ(gameState.missileTravel, 0.0f) << "firing leaves the travel alone";

  gameState.WiimoteButtons.buttonB = 0;
  std::vector<DrawnPoint> points = frame();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_NEAR(points[0].x, -4.5f, kTolerance);
}

TEST_F(MissileTest, HoldingBRestartsThePairAtOnceAndKeepsItWithTheShip) {
  gameState.WiimoteButtons.buttonB = 1;
  frame();
  for (int n = 1; n <= 31; ++n) {
    gameState.shipX = static_cast<float>(n);  // the ship moves on
    std::vector<DrawnPoint> points = frame();
    expectPair(points, static_cast<float>(-n));
    EXPECT_EQ(drawnOrigin[0], n - 1) << "drawn from where the ship was a frame ago";
    EXPECT_EQ(gameState.missileOrigin[0], n) << "taken from the ship in every frame";
  }
  EXPECT_EQ(gameState.missilesFlying, 1) << "the frame that ended the flight fired again";
  expectPair(frame(), -1.0f);
}

TEST_F(MissileTest, ReleasedBLeavesThePairFlying) {
  gameState.WiimoteButtons.buttonB = 1;
  frame();
  gameState.WiimoteButtons.buttonB = 0;
  gameState.shipX = 99.0f;
  for (int n = 1; n <= 31; ++n) expectPair(frame(), static_cast<float>(-n));
  EXPECT_EQ(gameState.missileOrigin[0], 0);
  EXPECT_TRUE(frame().empty());
}

MissilePair pairAt(float x, float z, float yaw, float travel) {
  MissilePair pair;
  pair.shown = true;
  pair.origin[0] = x;
  pair.origin[1] = 50.0f;
  pair.origin[2] = z;
  pair.yaw = yaw;
  pair.travel = travel;
  return pair;
}

// Between two ticks a pair that flew on is drawn part of the way, its firing
// point and heading too (fire held moves it with the ship); one that has just
// appeared, restarted or jumped is drawn where the latest tick put it, never
// sliding in from where the last pair was.
TEST(MissilesBetweenTest, OnlyAPairThatFlewOnIsDrawnBetweenItsTicks) {
  MissilePair drawn = missilesBetween(pairAt(0, 250, 0, -3), pairAt(0, 248, 0, -4), 0.25);
  EXPECT_TRUE(drawn.shown);
  EXPECT_FLOAT_EQ(drawn.origin[2], 249.5f) << "moved with the ship";
  EXPECT_FLOAT_EQ(drawn.travel, -3.25f);
  drawn = missilesBetween(pairAt(0, 250, 359, -3), pairAt(0, 250, 1, -4), 0.5);
  EXPECT_NEAR(std::remainder(drawn.yaw, 360.0), 0.0, 1e-4) << "turned the short way: " << drawn.yaw;
  // The fastest ship (15 units a tick) with fire held still flies on.
  drawn = missilesBetween(pairAt(0, 250, 0, -3), pairAt(0, 235, 0, -4), 0.5);
  EXPECT_FLOAT_EQ(drawn.origin[2], 242.5f);

  MissilePair idle;
  drawn = missilesBetween(idle, pairAt(7, 240, 30, -1), 0.5);
  EXPECT_TRUE(drawn.shown) << "a new pair";
  EXPECT_FLOAT_EQ(drawn.origin[0], 7.0f);
  EXPECT_FLOAT_EQ(drawn.origin[2], 240.0f);
  EXPECT_FLOAT_EQ(drawn.yaw, 30.0f);
  EXPECT_FLOAT_EQ(drawn.travel, -1.0f);
  drawn = missilesBetween(pairAt(0, 250, 0, -31), pairAt(0, 248, 0, -1), 0.5);
  EXPECT_FLOAT_EQ(drawn.travel, -1.0f) << "restarted while fire is held";
  EXPECT_FLOAT_EQ(drawn.origin[2], 248.0f);
  drawn = missilesBetween(pairAt(0, 250, 0, -12), pairAt(40, 250, 0, -13), 0.5);
  EXPECT_FLOAT_EQ(drawn.origin[0], 40.0f) << "fired again 40 units away";
  drawn = missilesBetween(pairAt(0, 250, 0, -12), pairAt(0, 250, 90, -13), 0.5);
  EXPECT_FLOAT_EQ(drawn.yaw, 90.0f) << "turned a quarter turn: the pair swept 30 units";
  drawn = missilesBetween(pairAt(0, 250, 0, -31), idle, 0.5);
  EXPECT_FALSE(drawn.shown) << "a pair gone";
}

// Fire held at a 144 Hz display, the ship flying 2 units a tick: each
// tick fires the pair anew from the ship, a unit further on its flight, so
// it moves 3 units a tick, 1.25 in each frame. Frames drawn as the latest
// tick left it would stand still for two frames and then jump.
TEST_F(MissileTest, At144HzWithFireHeldThePairMovesByEvenSteps) {
  const int64_t kSecond = 1000000000;
  gameState.speed = 40;
  gameState.WiimoteButtons.buttonB = 1;
  // The free camera, unturned, only moves the world by (0, -0.3, -1).
  gameState.freeCamera = 1.0f;
  GameClock clock;
  std::vector<float> z;
  std::vector<bool> flewOn;  // the pair flew on between the two ticks drawn
  testing::internal::CaptureStdout();  // the console text of every fourth tick
  for (int64_t frame = 0; frame <= 144; ++frame) {
    int due = ticksDue(clock, kSecond + frame * kSecond / 144);
    for (int i = 0; i < due; ++i) runTick();
    std::vector<DrawnPoint> points = captureDrawing([&clock] { drawFrame(tickFraction(clock)); }, kExtent);
    const MissilePair& a = gameState.previousTick.missiles;
    const MissilePair& b = gameState.currentTick.missiles;
    flewOn.push_back(a.shown && b.shown && b.travel == a.travel - 1.0f);
    float first = NAN;  // the first missile's; the starfield draws points too
    for (const DrawnPoint& p : points) {
      if (p.slot == 5) {
        first = p.z;
        break;
      }
    }
    z.push_back(first);
  }
  testing::internal::GetCapturedStdout();
  int even = 0;
  for (size_t i = 2; i < z.size(); ++i) {
    if (!flewOn[i] || !flewOn[i - 1]) continue;  // around a new pair
    EXPECT_NEAR(z[i] - z[i - 1], -1.25f, 0.01f) << "frame " << i;
    ++even;
  }
  // Two restarts in 61 ticks, each taking the frames of two ticks out.
  EXPECT_GE(even, 130);
}

// A missile model for the picture: a red box one world unit across once the
// pair's scale is applied.
void useRedBoxMissile() {
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glColor3f(1.0f, 0.0f, 0.0f);
  glutSolidCube(100.0);
  glPopAttrib();
  glEndList();
  ModelTable[5].displayList = list;
}

// Red pixels in the window's four quarters: upper left, upper right, lower
// left, lower right.
void countRed(int counts[4]) {
  for (int i = 0; i < 4; ++i) counts[i] = 0;
  Picture picture = readPicture();
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Rgb c = picture.at(x, y);
      if (c.r > 100 && c.g < 60 && c.b < 60) ++counts[(y >= 240 ? 2 : 0) + (x >= 320 ? 1 : 0)];
    }
  }
}

TEST_F(MissileTest, AFiredPairAppearsAheadOfTheShipBelowTheHorizon) {
  useRedBoxMissile();
  onReshape(640, 480);
  glEnable(GL_DEPTH_TEST);
  int counts[4];

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  placeCamera(shipPose());
  drawMissiles(stepMissiles());
  countRed(counts);
  EXPECT_EQ(counts[0] + counts[1] + counts[2] + counts[3], 0) << "nothing before firing";

  onKeyboard('g', 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  placeCamera(shipPose());
  drawMissiles(stepMissiles());
  countRed(counts);
  // 1.5 left and 1.0 right of the ship, 0.8 below it, 9 units ahead.
  EXPECT_GT(counts[2], 20) << "left missile";
  EXPECT_GT(counts[3], 20) << "right missile";
  EXPECT_EQ(counts[0] + counts[1], 0) << "both below the horizon";
  glDisable(GL_DEPTH_TEST);
}

}  // namespace
