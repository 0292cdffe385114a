#include "tests/support/gl_window.h"

#include <GL/glut.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

static int windowHeight = 0;

void openTestWindow(int width, int height) {
  if (windowHeight != 0) return;
  if (getenv("DISPLAY") == nullptr) {
    fprintf(stderr, "drawing tests need an X display: run them under xvfb-run\n");
    exit(1);
  }
  // freeglut gives up at once when the server refuses a connection, and an X
  // server that resets after its last client leaves refuses connections for a
  // moment. This connection is retried for a few seconds and kept open until
  // freeglut holds its own, so the server cannot reset in between.
  Display* probe = nullptr;
  for (int attempt = 0; attempt < 50 && probe == nullptr; ++attempt) {
    probe = XOpenDisplay(nullptr);
    if (probe == nullptr) usleep(100 * 1000);
  }
  if (probe == nullptr) {
    fprintf(stderr, "cannot open display '%s'\n", getenv("DISPLAY"));
    exit(1);
  }
  int argc = 1;
  char name[] = "vekotra-test";
  char* argv[] = {name, nullptr};
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH | GLUT_MULTISAMPLE);
  glutInitWindowPosition(0, 0);
  glutInitWindowSize(width, height);
  glutInit(&argc, argv);
  glutCreateWindow("vekotra-test");
  XCloseDisplay(probe);
  glViewport(0, 0, width, height);
  windowHeight = height;
}

Rgb pixelAt(int x, int y) {
  unsigned char rgb[3] = {0, 0, 0};
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return Rgb{rgb[0], rgb[1], rgb[2]};
}

int countLitPixels(int width, int height) {
  unsigned char* pixels = new unsigned char[width * height * 3];
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  int lit = 0;
  for (int i = 0; i < width * height; ++i) {
    if (pixels[3 * i] | pixels[3 * i + 1] | pixels[3 * i + 2]) ++lit;
  }
  delete[] pixels;
  return lit;
}
