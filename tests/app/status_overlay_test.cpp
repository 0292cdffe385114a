// The status in the window: the status line in the top-left corner, red while
// the ship touches, hidden by F3; the controls list until the first input;
// and the drawing state left as it was found.
#include "app/status_overlay.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/startup.h"
#include "input/keyboard.h"
#include "tests/support/gl_window.h"

namespace {

const int kWidth = 640, kHeight = 480;

// A band of whole rows of the window, counted from the top.
struct Band {
  int top, height;
};
const Band kStatusBand = {0, 24}, kListBand = {24, 200}, kWholeWindow = {0, kHeight};

std::vector<Rgb> readBand(Band b) {
  std::vector<Rgb> pixels(kWidth * b.height);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, kHeight - b.top - b.height, kWidth, b.height, GL_RGB, GL_UNSIGNED_BYTE,
               pixels.data());
  return pixels;
}

bool same(const std::vector<Rgb>& a, const std::vector<Rgb>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Rgb)) == 0;
}

struct Tally {
  int lit = 0, white = 0, red = 0;
};
Tally tally(Band b) {
  Tally t;
  for (const Rgb& c : readBand(b)) {
    t.lit += (c.r | c.g | c.b) != 0;
    t.white += c.r == 255 && c.g == 255 && c.b == 255;
    t.red += c.r == 255 && c.g == 0 && c.b == 0;
  }
  return t;
}

// The overlay alone on a black window, over a depth buffer that fails every
// depth test.
void drawOnBlack(bool touching = false) {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(0.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  drawStatusOverlay(touching);
}

// Each test starts where lighting, a black texture, fog and the depth test
// would each hide the text: the game's fixed state, a bound black texture and
// a fog that turns everything black.
struct StatusOverlayTest : testing::Test {
  GLuint blackTexture = 0;
  void SetUp() override {
    resetGameState();
    onReshape(kWidth, kHeight);
    setFixedGLState();
    const unsigned char black[4] = {0, 0, 0, 255};
    glGenTextures(1, &blackTexture);
    glBindTexture(GL_TEXTURE_2D, blackTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, black);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, -2.0f);
    glFogf(GL_FOG_END, -1.0f);
    glEnable(GL_FOG);
  }
  // Back to a fresh window's state for the other tests of the process.
  void TearDown() override {
    for (GLenum cap : {GL_FOG, GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST}) glDisable(cap);
    glDeleteTextures(1, &blackTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  }
};

TEST_F(StatusOverlayTest, StatusLineShowsFollowsTheFlightTurnsRedAndHidesOnF3) {
  gameState.controlsListShown = 0;
  drawOnBlack();
  Tally status = tally(kStatusBand);
  EXPECT_GT(status.white, 150) << "white text in the top band";
  EXPECT_EQ(status.red, 0);
  EXPECT_EQ(tally(kWholeWindow).lit, status.lit) << "nothing but the status line";
  // Left-aligned: the line's 56 characters of 8 pixels end before x = 470.
  std::vector<Rgb> atRest = readBand(kStatusBand);
  int rightmost = 0;
  for (int i = 0; i < static_cast<int>(atRest.size()); ++i) {
    if (atRest[i].r != 0 && i % kWidth > rightmost) rightmost = i % kWidth;
  }
  EXPECT_LT(rightmost, 470);
  EXPECT_GT(rightmost, 400);

  gameState.speed = 24;
  drawOnBlack();
  EXPECT_FALSE(same(readBand(kStatusBand), atRest)) << "the speed shows";
  gameState.speed = 0;
  gameState.altitude = 12.5f;
  drawOnBlack();
  EXPECT_FALSE(same(readBand(kStatusBand), atRest)) << "the altitude shows";
  gameState.altitude = 50.0f;

  drawOnBlack(true);
  Tally touching = tally(kStatusBand);
  EXPECT_GT(touching.red, 150);
  EXPECT_EQ(touching.red, touching.lit) << "red all over while touching";

  onSpecialKey(GLUT_KEY_F3, 0, 0);
  drawOnBlack();
  EXPECT_EQ(tally(kWholeWindow).lit, 0) << "hidden by F3";
  onSpecialKey(GLUT_KEY_F3, 0, 0);
  drawOnBlack();
  EXPECT_TRUE(same(readBand(kStatusBand), atRest)) << "shown again by F3";
}

TEST_F(StatusOverlayTest, ControlsListShowsAtStartUntilTheFirstInput) {
  drawOnBlack();
  EXPECT_GT(tally(kStatusBand).white, 150);
  // Eleven lines of text, about 15 lit pixels a character.
  EXPECT_GT(tally(kListBand).white, 3000);
  // Its last text line, "Echap = quitter", sits at rows 191 to 200.
  EXPECT_GT(tally(Band{191, 10}).white, 60);

  onKeyboard('x', 0, 0);  // a key with no effect of its own
  drawOnBlack();
  EXPECT_EQ(tally(kListBand).lit, 0) << "gone at the first key";
  EXPECT_GT(tally(kStatusBand).white, 150) << "the status stays";

  // A Wii Remote button ends it at the next frame.
  resetGameState();
  gameState.WiimoteButtons.buttonHome = 1;
  drawOnBlack();
  EXPECT_EQ(tally(kListBand).lit, 0);
  EXPECT_EQ(gameState.controlsListShown, 0);
}

// What the overlay must leave as it found it; no padding, so it compares whole.
struct GLSnapshot {
  GLint enables[6];
  GLint matrixMode, stackDepths[3], viewport[4];
  GLfloat modelview[16], projection[16], color[4], rasterPosition[4];
  bool operator==(const GLSnapshot& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};
GLSnapshot takeSnapshot() {
  GLSnapshot s;
  const GLenum caps[6] = {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_FOG, GL_CULL_FACE, GL_BLEND};
  for (int i = 0; i < 6; ++i) s.enables[i] = glIsEnabled(caps[i]);
  glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.stackDepths[0]);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.stackDepths[1]);
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.stackDepths[2]);
  glGetIntegerv(GL_VIEWPORT, s.viewport);
  glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
  glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
  glGetFloatv(GL_CURRENT_COLOR, s.color);
  glGetFloatv(GL_CURRENT_RASTER_POSITION, s.rasterPosition);
  return s;
}

// Draws the overlay (list and status, touching) and expects the state as before.
void expectStateKept(const char* when) {
  GLSnapshot before = takeSnapshot();
  drawStatusOverlay(true);
  EXPECT_TRUE(takeSnapshot() == before) << when;
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << when;
}

TEST_F(StatusOverlayTest, StateIsRestoredWhateverItWas) {
  // As the game's frame leaves it, fog on as well: model-view current.
  glLoadIdentity();
  glTranslatef(1.0f, 2.0f, -3.0f);
  glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glRasterPos3f(0.1f, 0.2f, -3.5f);
  expectStateKept("game state");

  // Everything off but culling, and the projection current.
  for (GLenum cap : {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_FOG}) glDisable(cap);
  glEnable(GL_CULL_FACE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-2.0, 2.0, -1.0, 1.0, -5.0, 5.0);
  expectStateKept("bare state");
  glDisable(GL_CULL_FACE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);

  // A window of height 0: nothing to draw into, and no error either.
  glViewport(0, 0, kWidth, 0);
  expectStateKept("window of height 0");
  glViewport(0, 0, kWidth, kHeight);
}

// A frame that, like the game's, relies on the state around it: the
// reshape's projection, lighting and depth test on, and the current colour
// for an unlit line.
void referenceFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -4.0f);
  glutSolidSphere(1.0, 32, 16);
  glTranslatef(0.9f, 0.4f, -1.0f);
  glutSolidCube(1.2);  // half behind the sphere
  glDisable(GL_LIGHTING);
  glBegin(GL_LINES);
  glVertex3f(-3.0f, -1.5f, 0.0f);
  glVertex3f(3.0f, -1.5f, 0.0f);
  glEnd();
  glEnable(GL_LIGHTING);
}

TEST_F(StatusOverlayTest, NextFrameDrawsUnchanged) {
  glDisable(GL_FOG);
  glBindTexture(GL_TEXTURE_2D, 0);
  glColor3f(0.2f, 0.9f, 0.4f);
  referenceFrame();
  const std::vector<Rgb> first = readBand(kWholeWindow);
  EXPECT_GT(tally(kWholeWindow).lit, 20000) << "the reference frame draws";
  drawStatusOverlay(true);
  EXPECT_FALSE(same(readBand(kWholeWindow), first)) << "the text is drawn over it";
  referenceFrame();
  EXPECT_TRUE(same(readBand(kWholeWindow), first));
}

}  // namespace
