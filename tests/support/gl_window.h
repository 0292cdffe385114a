// A real GLUT window for drawing tests: the game's display mode, drawn by
// Mesa under Xvfb, pixels read back from the back buffer.
#pragma once

#include <cstdint>

struct Rgb {
  uint8_t r, g, b;
};

// Opens the test window once per process (later calls return at once) and
// makes its context current. Exits with a message when there is no display.
void openTestWindow(int width = 640, int height = 480);
// The colour at (x, y), with y counted from the top of the window, read from
// the buffer just drawn (the back buffer, before any swap).
Rgb pixelAt(int x, int y);
// How many pixels of the w x h window differ from black.
int countLitPixels(int width = 640, int height = 480);
