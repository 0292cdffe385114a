// Vekotra: fly a fighter among planets, a satellite and the stars.
#include <GL/glut.h>

#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "app/display_info.h"
#include "app/frame_loop.h"
#include "app/startup.h"
#include "input/gamepad.h"
#include "input/wiimote.h"
#include "platform/display/display.h"
#include "platform/os/os.h"
#include "sound/sound.h"

// The display GLUT's -display option names, or null for DISPLAY's.
static const char* displayOption(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (strcmp(argv[i], "-display") == 0) return argv[i + 1];
  }
  return nullptr;
}

int main(int argc, char** argv) {
  // Every data path is relative to the working directory.
  enterDataFolder();
  const char* displayName = displayOption(argc, argv);
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
  gameClock.speed = options.gameSpeed;
  unsigned multisample = chooseMultisample(options.multisample, displayName) ? GLUT_MULTISAMPLE : 0;
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH | multisample);
  glutCreateWindow("Vekotra by Ralune & Doskin");
  // Paced frames also wait for the vertical blank, so none is torn; a
  // free-running loop waits for nothing. Where swaps do not wait, paced
  // frames sleep to the display's refresh period (60 Hz when unknown).
  setSwapInterval(framePacing ? 1 : 0);
  readRefreshRate();
  displayChanged();  // starts listening for mode and layout changes
  registerCallbacks();
  initScene();
  initSound();
  initWiimote();
  initGamepad();
  glutMainLoop();
  return 0;
}
