// Vekotra: fly a fighter among planets, a satellite and the stars.
#include <GL/glut.h>

#include <cstdio>

#include "app/command_line.h"
#include "app/frame_loop.h"
#include "app/startup.h"
#include "app/swap_interval.h"
#include "input/gamepad.h"
#include "input/wiimote.h"
#include "sound/sound.h"

int main(int argc, char** argv) {
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH | GLUT_MULTISAMPLE);
  glutInitWindowPosition(0, 0);
  glutInitWindowSize(640, 480);
  // After the settings above, so window options on the command line win.
  // GLUT takes its own options out of argv; the game's are read from what
  // it leaves.
  glutInit(&argc, argv);
  CommandLine options = readCommandLine(argc, argv);
  if (options.unknown != nullptr) {
    fprintf(stderr, "vekotra: unknown option '%s'\n%s", options.unknown, kUsage);
    return 2;
  }
  framePacing = !options.freeRunning;
  glutCreateWindow("Vekotra by Ralune & Doskin");
  // Paced frames also wait for the vertical blank, so none is torn; a
  // free-running loop waits for nothing.
  setSwapInterval(framePacing ? 1 : 0);
  registerCallbacks();
  initScene();
  initSound();
  initWiimote();
  initGamepad();
  glutMainLoop();
  return 0;
}
