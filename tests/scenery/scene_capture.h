// What the scenery draws: every vertex, in world units and tagged with the
// model slot that drew it, read back exactly through OpenGL's feedback mode;
// and the picture itself, read back from the window.
#pragma once

#include <functional>
#include <vector>

#include "tests/support/gl_window.h"

struct DrawnPoint {
  int slot;  // the slot whose model drew it, or -1 outside any model
  float x, y, z;
};

// Where every scenery test starts: the test window open, the game state as at
// start-up and the identity as model-view matrix.
void startScene();
// Gives the slots' models a display list that draws a single point at the
// model's origin, tagged with the slot number.
void useMarkerModel(int slot);
// Puts the slot back to an empty model (display list 0).
void clearModel(int slot);

// Runs `draw` with the model-view matrix as it stands, a projection that
// shows the cube of half side `extent` around the origin, and returns the
// vertices drawn. The model-view matrix and the render mode are left as found.
std::vector<DrawnPoint> captureDrawing(const std::function<void()>& draw, float extent);

// The whole 640 x 480 test window as just drawn, row by row from the top.
struct Picture {
  std::vector<Rgb> pixels;
  Rgb at(int x, int y) const { return pixels[y * 640 + x]; }
  bool lit(int x, int y) const {
    Rgb c = at(x, y);
    return (c.r | c.g | c.b) != 0;
  }
};
Picture readPicture();
