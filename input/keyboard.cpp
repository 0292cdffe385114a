// Keyboard and special keys. Each key event applies exactly one step to the
// game state; held keys repeat at the system's rate. Nothing is drawn or
// printed here: the frame turns speed and attitude into motion.
#include "input/keyboard.h"

#include <GL/glut.h>

#include <cstdlib>

#include "app/game_state.h"
#include "app/missile_launch.h"
#include "sound/sound.h"

static const int kSpeedStep = 2;
static const int kSpeedLimit = 50;
static const int kTurnStep = 2;
static const int kRollLimit = 90;
static const int kPitchLimit = 45;

// Fires the missile pair with its sound.
static void fireMissiles() {
  launchMissilePair();
  FSOUND_PlaySound(1, missileSample);
}

// Keys match on the exact character: upper-case letters do nothing.
void onKeyboard(unsigned char key, int, int) {
  GameState& g = gameState;
  g.controlsListShown = 0;
  switch (key) {
    case 27:  // Esc: ends the process at once, with no shutdown of its own.
      exit(0);
    case 'p':
      g.paused = g.paused == 0 ? 1 : 0;
      break;
    case 'g':
      fireMissiles();
      break;
    case 'z':
      if (g.speed < kSpeedLimit) g.speed += kSpeedStep;
      break;
    case 's':
      if (g.speed > -kSpeedLimit) g.speed -= kSpeedStep;
      break;
    default:
      break;
  }
}

// F1 toggles full screen; the way back is a 640 x 480 window at the screen's
// top-left corner, whatever it was before.
static void toggleFullScreen() {
  GameState& g = gameState;
  if (g.fullScreen == 0.0f) {
    glutFullScreen();
    g.fullScreen = 1.0f;
  } else {
    glutReshapeWindow(640, 480);
    glutPositionWindow(0, 0);
    g.fullScreen = 0.0f;
  }
}

// The bounds compare the values as they stand before the step, so they are
// not exact end points: a roll of 89 still goes to 91.
void onSpecialKey(int key, int, int) {
  GameState& g = gameState;
  g.controlsListShown = 0;
  switch (key) {
    case GLUT_KEY_F1:
      toggleFullScreen();
      break;
    case GLUT_KEY_F2:
      g.freeCamera = g.freeCamera == 0.0f ? 1.0f : 0.0f;
      break;
    case GLUT_KEY_F3:
      g.statusShown = g.statusShown == 0 ? 1 : 0;
      break;
    case GLUT_KEY_LEFT:
      g.yaw += kTurnStep;
      if (g.roll < kRollLimit) {
        g.roll += kTurnStep;
        g.rollHeld = 1;
      } else {
        g.rollHeld = 0;
      }
      break;
    case GLUT_KEY_RIGHT:
      g.yaw -= kTurnStep;
      if (g.roll > -kRollLimit) {
        g.roll -= kTurnStep;
        g.rollHeld = 1;
      } else {
        g.rollHeld = 0;
      }
      break;
    case GLUT_KEY_UP:
      // Past the limit the nose is reset to level, not held at the limit.
      if (g.pitch > -kPitchLimit) {
        g.pitch -= kTurnStep;
      } else {
        g.pitch = 0;
      }
      g.rollHeld = 1;
      break;
    case GLUT_KEY_DOWN:
      if (g.pitch < kPitchLimit) g.pitch += kTurnStep;
      g.rollHeld = 1;
      break;
    default:
      break;
  }
}
