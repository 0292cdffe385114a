#include "app/frame_loop.h"

#include <GL/glut.h>

#include <cstdio>

#include "app/actors.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "app/status_overlay.h"
#include "input/gamepad.h"
#include "physics/world.h"
#include "platform/os/os.h"

void stepPhysics() {
  GameState& g = gameState;
  // Unsigned arithmetic, so the clock's wrap-around still gives a small delta.
  uint32_t now = timeGetTime();
  uint32_t delta = now - g.lastStepTime;
  g.lastStepTime = now;
  if (scene != nullptr && g.paused == 0) {
    float dt = static_cast<float>(static_cast<double>(delta) * 0.001);
    scene->simulate(dt);
    scene->flushStream();
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
  }
}

void onDisplay() {
  // The gamepad is read where key events land: between frames.
  readGamepad();
  stepPhysics();

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glLoadIdentity();

  applyTiltSteering();
  // The camera is placed from the position before this frame's flight, so the
  // ship is drawn one frame's movement ahead of it.
  placeCamera();
  flyShip();
  levelRoll();
  writeConsoleText();

  drawBackgroundPlanets();
  drawStarfield();
  drawSatellites();
  drawMissiles();
  fireFromWiimote();
  speedFromWiimote();

  if (scene != nullptr) syncAndDrawActors();
  drawStatusOverlay(shipTouching());

  snprintf(gameState.textBuffer, sizeof gameState.textBuffer, "fps[%3.1f]",
           static_cast<double>(measureFrameRate()));
  glutSetWindowTitle(gameState.textBuffer);
  glFlush();
  paceFrame();
  glutSwapBuffers();
}

bool framePacing = true;
FramePacer framePacer = {1000000000 / 60, 0};

void paceFrame() {
  if (framePacing) waitForFrame(framePacer);
}

void onIdle() {
  glutPostRedisplay();
}

void onReshape(int width, int height) {
  // A window of height 0 (minimised to a line) keeps the last aspect ratio
  // rather than dividing by zero.
  if (height != 0) {
    gameState.aspectRatio = static_cast<float>(static_cast<double>(width) / height);
  }
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, gameState.aspectRatio, 0.01, 10000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

float measureFrameRate() {
  float t = static_cast<float>(glutGet(GLUT_ELAPSED_TIME));
  float rate = static_cast<float>(1000.0 / (static_cast<double>(t) - gameState.fpsLastTime));
  gameState.fpsLastTime = t;
  return rate;
}
