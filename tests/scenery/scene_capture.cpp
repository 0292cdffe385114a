#include "tests/scenery/scene_capture.h"

#include <GL/glut.h>

#include "app/game_state.h"
#include "model/model_table.h"

static_assert(sizeof(Rgb) == 3, "pixels are read straight into Rgb values");

void startScene() {
  openTestWindow();
  resetGameState();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void useMarkerModel(int slot) {
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glPassThrough(static_cast<float>(slot));
  glBegin(GL_POINTS);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glEnd();
  glPassThrough(-1.0f);
  glEndList();
  ModelTable[slot].displayList = list;
}

void clearModel(int slot) {
  ModelTable[slot].displayList = 0;
}

std::vector<DrawnPoint> captureDrawing(const std::function<void()>& draw, float extent) {
  // A 2 x 2 viewport keeps window coordinates near 1, where floats are finest.
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glViewport(0, 0, 2, 2);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-extent, extent, -extent, extent, -extent, extent);
  glMatrixMode(GL_MODELVIEW);

  static GLfloat buffer[1 << 20];
  glFeedbackBuffer(sizeof buffer / sizeof buffer[0], GL_3D, buffer);
  glRenderMode(GL_FEEDBACK);
  draw();
  int count = glRenderMode(GL_RENDER);

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);

  std::vector<DrawnPoint> points;
  int slot = -1;
  for (int i = 0; i < count;) {
    int token = static_cast<int>(buffer[i]);
    if (token == GL_PASS_THROUGH_TOKEN) {
      slot = static_cast<int>(buffer[i + 1]);
      i += 2;
    } else if (token == GL_POINT_TOKEN) {
      // Window (0..2, 0..2, depth 0..1) back to world units.
      points.push_back(DrawnPoint{slot, (buffer[i + 1] - 1.0f) * extent,
                                  (buffer[i + 2] - 1.0f) * extent,
                                  -(buffer[i + 3] * 2.0f - 1.0f) * extent});
      i += 4;
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      i += 7;
    } else if (token == GL_POLYGON_TOKEN) {
      i += 2 + 3 * static_cast<int>(buffer[i + 1]);
    } else {
      i += 4;  // bitmap and pixel tokens carry one vertex
    }
  }
  return points;
}

Picture readPicture() {
  Picture picture;
  std::vector<Rgb> rows(640 * 480);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
  picture.pixels.resize(rows.size());
  // OpenGL counts rows from the bottom.
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) picture.pixels[y * 640 + x] = rows[(479 - y) * 640 + x];
  }
  return picture;
}
