#include "app/frame_loop.h"

#include <GL/glut.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/game_state.h"
#include "platform/os/os.h"

bool windowShown = true;
GameClock gameClock;

// When the last frame's buffer swap returned; 0 before the first frame and
// after the window was hidden. A frame's game time is that moment: where
// swaps wait for the vertical blank it is the blank itself, so frames one
// refresh apart get game times exactly one refresh apart, however long GLUT's
// loop and the window system take before the next frame starts. Time is
// never lost by it: what one frame does not count, the next one does.
static int64_t lastShownNs = 0;

void onDisplay() {
  // freeglut may still call for a redisplay of a covered window.
  if (!windowShown) return;
  int ticks = ticksDue(gameClock, lastShownNs != 0 ? lastShownNs : monotonicNanoseconds());
  for (int i = 0; i < ticks; ++i) runTick();
  drawFrame(tickFraction(gameClock));

  snprintf(gameState.textBuffer, sizeof gameState.textBuffer, "fps[%3.1f]",
           static_cast<double>(measureFrameRate()));
  glutSetWindowTitle(gameState.textBuffer);
  glFlush();
  presentFrame();
}

bool framePacing = true;
FramePacer framePacer = {1000000000 / 60, 0};

bool paceFrame() {
  return framePacing && !framePacer.swapWaits && waitForFrame(framePacer);
}

void presentFrame() {
  bool slept = paceFrame();
  // The drawing has had the sleep to finish: what remains is waited for
  // here, so that the swap's length below is the swap's own.
  if (slept) glFinish();
  int64_t swapStart = monotonicNanoseconds();
  glutSwapBuffers();
  lastShownNs = monotonicNanoseconds();
  if (framePacing) swapDone(framePacer, swapStart, lastShownNs, slept);
}

// While hidden, freeglut calls no display callback but keeps calling this
// one: a short sleep each time keeps the loop from spinning a core, and a
// window shown again is seen within one sleep.
static const int kHiddenSleepMs = 50;

void onIdle() {
  if (!windowShown) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kHiddenSleepMs));
    return;
  }
  glutPostRedisplay();
}

void onWindowStatus(int state) {
  bool shown = state == GLUT_FULLY_RETAINED || state == GLUT_PARTIALLY_RETAINED;
  if (shown && !windowShown) {
    // The hidden time is neither game time nor a frame's length.
    restartClock(gameClock, monotonicNanoseconds());
    lastShownNs = 0;
    gameState.fpsLastTime = static_cast<float>(glutGet(GLUT_ELAPSED_TIME));
  }
  windowShown = shown;
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
