#include "app/frame_loop.h"

#include <GL/glut.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/game_state.h"
#include "platform/display/display.h"
#include "platform/os/os.h"

bool windowShown = true;
GameClock gameClock;

void onDisplay() {
  // freeglut may still call for a redisplay of a covered window.
  if (!windowShown) return;
  if (displayChanged()) refreshRateStale = true;
  if (refreshRateStale) readRefreshRate();
  // The frame's first drawing call, where a driver that returns from the
  // swap at once makes the frame wait for a free buffer: the frame is timed
  // after it, on the display's rhythm.
  clearFrame();
  int64_t refreshCount = -1;
  if (!displayRefreshCount(refreshCount)) refreshCount = -1;
  runFrame(startFrame(framePacer, monotonicNanoseconds(), refreshCount));

  snprintf(gameState.textBuffer, sizeof gameState.textBuffer, "fps[%3.1f]",
           static_cast<double>(measureFrameRate()));
  glutSetWindowTitle(gameState.textBuffer);
  glFlush();
  presentFrame();
}

void runFrame(int64_t frameTimeNs) {
  int ticks = ticksDue(gameClock, frameTimeNs);
  for (int i = 0; i < ticks; ++i) runTick();
  drawScene(tickFraction(gameClock));
}

bool framePacing = true;
FramePacer framePacer = {1000000000 / 60, 0};
bool refreshRateStale = true;

void readRefreshRate() {
  double rate = displayRefreshRate();
  framePacer.periodNs = static_cast<int64_t>(1e9 / (rate > 0.0 ? rate : 60.0));
  refreshRateStale = false;
}

void onWindowMoved(int, int) {
  refreshRateStale = true;
}

bool paceFrame() {
  framePacer.drawnNs = monotonicNanoseconds();
  return framePacing && !framePacer.displayPaces && waitForFrame(framePacer);
}

void presentFrame() {
  // The drawing has had the sleep to finish: what remains is waited for
  // here, so that the sleep does not move into the next frame.
  if (paceFrame()) glFinish();
  glutSwapBuffers();
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
    restartFrames(framePacer);
    gameState.fpsLastTime = static_cast<float>(glutGet(GLUT_ELAPSED_TIME));
  }
  windowShown = shown;
}

void onReshape(int width, int height) {
  // Full screen, or a window resized across monitors.
  refreshRateStale = true;
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
