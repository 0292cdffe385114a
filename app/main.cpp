// Vekotra: fly a fighter among planets, a satellite and the stars.
#include <GL/glut.h>

#include "app/startup.h"
#include "input/gamepad.h"
#include "input/wiimote.h"
#include "sound/sound.h"

int main(int argc, char** argv) {
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH | GLUT_MULTISAMPLE);
  glutInitWindowPosition(0, 0);
  glutInitWindowSize(640, 480);
  // After the settings above, so window options on the command line win.
  glutInit(&argc, argv);
  glutCreateWindow("Vekotra by Ralune & Doskin");
  registerCallbacks();
  initScene();
  initSound();
  initWiimote();
  initGamepad();
  glutMainLoop();
  return 0;
}
