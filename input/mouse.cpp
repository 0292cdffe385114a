// Mouse drags. A press picks the free camera's drag mode; every motion event
// with a button down steers the ship while the chase camera is on, then moves
// the free camera by the drag mode, in either camera mode.
#include "input/mouse.h"

#include <GL/glut.h>

#include "app/game_state.h"

enum MouseMode { kModeNone = -1, kModeRotate = 0, kModeZoom = 1, kModePan = 2 };

static const int kSteerStep = 2;
static const int kSteerLimit = 90;
static const float kZoomPerPixel = 0.05f;
static const float kPanPerPixel = 0.01f;

static int glutModifiers() {
  return glutGetModifiers();
}
int (*readMouseModifiers)() = glutModifiers;

void onMouseButton(int button, int state, int x, int y) {
  GameState& g = gameState;
  g.mouseLast[0] = x;
  g.mouseLast[1] = y;
  if (state == GLUT_UP) {
    // Any release ends the drag, even while another button stays down.
    g.mouseMode = kModeNone;
    return;
  }
  if (state != GLUT_DOWN) return;
  g.controlsListShown = 0;
  g.mousePress[0] = x;
  g.mousePress[1] = y;
  if (button == GLUT_LEFT_BUTTON) {
    // Ctrl and nothing else pans; any other combination rotates.
    g.rollHeld = 1;
    g.mouseMode = readMouseModifiers() == GLUT_ACTIVE_CTRL ? kModePan : kModeRotate;
  } else if (button == GLUT_RIGHT_BUTTON) {
    g.mouseMode = kModeZoom;
  }
}

// Heading follows the distance moved; bank and pitch move by a fixed step
// per event whatever the distance.
static void steerShip(int x, int y) {
  GameState& g = gameState;
  int dx = g.mouseLast[0] - x;  // positive: the pointer moved left
  int dy = g.mouseLast[1] - y;  // positive: the pointer moved up
  // Truncated toward zero: -10 + -1.5 gives -11.
  g.yaw = static_cast<int>(g.yaw + dx * 0.5);
  if (dx > 0 && g.roll < kSteerLimit) g.roll += kSteerStep;
  if (dx < 0 && g.roll > -kSteerLimit) g.roll -= kSteerStep;
  if (dy > 0 && g.pitch > -kSteerLimit) g.pitch -= kSteerStep;
  if (dy < 0 && g.pitch < kSteerLimit) g.pitch += kSteerStep;
  g.rollHeld = 1;
}

static void dragCamera(int x, int y) {
  GameState& g = gameState;
  int ax = g.mousePress[0] - x;
  int ay = g.mousePress[1] - y;
  switch (g.mouseMode) {
    case kModeRotate:
      g.camAngles[0] -= ay;
      g.camAngles[1] -= ax;
      break;
    case kModeZoom:
      g.camZoom -= ay * kZoomPerPixel;
      break;
    case kModePan:
      g.camPanX += ax * kPanPerPixel;
      g.camPanY -= ay * kPanPerPixel;
      break;
    default:
      return;
  }
  limitCameraAngles(g.camAngles);
}

void onMouseMotion(int x, int y) {
  GameState& g = gameState;
  if (g.freeCamera == 0.0f) steerShip(x, y);
  g.mouseLast[0] = x;
  g.mouseLast[1] = y;
  dragCamera(x, y);
  g.mousePress[0] = x;
  g.mousePress[1] = y;
}

void limitCameraAngles(float angles[2]) {
  for (int i = 0; i < 2; ++i) {
    if (angles[i] > 360.0f || angles[i] < -360.0f) angles[i] = 0.0f;
  }
}
