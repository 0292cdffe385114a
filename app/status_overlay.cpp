#include "app/status_overlay.h"

#include <GL/freeglut.h>

#include "app/frame_loop.h"
#include "app/game_state.h"

static void* const kFont = GLUT_BITMAP_8_BY_13;
static const int kMargin = 8;       // pixels from the window's left and top edges
static const int kLineHeight = 14;  // the 8 x 13 font's line advance
static const int kAscent = 10;      // baseline below the top of a line

static const float kTextColor[3] = {1.0f, 1.0f, 1.0f};
static const float kTouchColor[3] = {1.0f, 0.0f, 0.0f};
static const float kShadowColor[3] = {0.0f, 0.0f, 0.0f};

static bool anyWiimoteButton() {
  const WiimoteButtonFlags& b = gameState.WiimoteButtons;
  return b.buttonA || b.buttonB || b.buttonOne || b.buttonTwo || b.buttonMinus || b.buttonPlus ||
         b.buttonUp || b.buttonDown || b.buttonLeft || b.buttonRight || b.buttonHome;
}

// Text whose first baseline is `line` lines below the top margin, with a
// one-pixel dark shadow so it stays readable over a bright planet. The
// projection maps one unit to one pixel with y up from the bottom edge.
static void drawText(const char* text, int line, const float color[3], int height) {
  const int x = kMargin;
  const int y = height - kMargin - kAscent - line * kLineHeight;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  // The colour is taken into the raster position when it is set.
  glColor3fv(kShadowColor);
  glRasterPos2i(x + 1, y - 1);
  glutBitmapString(kFont, bytes);
  glColor3fv(color);
  glRasterPos2i(x, y);
  glutBitmapString(kFont, bytes);
}

void drawStatusOverlay(bool touching) {
  GameState& g = gameState;
  if (anyWiimoteButton()) g.controlsListShown = 0;
  if (g.statusShown == 0 && g.controlsListShown == 0) return;

  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  // A window shrunk to a line has no room for text, and no projection for it.
  if (viewport[2] <= 0 || viewport[3] <= 0) return;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_FOG);
  glDisable(GL_CULL_FACE);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, viewport[2], 0.0, viewport[3], -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  if (g.statusShown != 0) {
    char line[256];
    formatStatusLine(line, sizeof line);
    drawText(line, 0, touching ? kTouchColor : kTextColor, viewport[3]);
  }
  if (g.controlsListShown != 0) drawText(kControlsList, 2, kTextColor, viewport[3]);

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
