// The status in the window: the status line in the top-left corner, red while
// the ship touches, hidden by F3; the controls list until the first input;
// and the drawing state left as it was found.
#include "app/status_overlay.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/actors.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/startup.h"
#include "input/keyboard.h"
#include "physics/world.h"
#include "physics/wrappers.h"
#include "platform/nx/nx_objects.h"
#include "tests/support/gl_window.h"

namespace {

const int kWidth = 640, kHeight = 480;

// A rectangle of the window, y counted from the top.
struct Region {
  int x, y, width, height;
};
const Region kStatusBand = {0, 0, kWidth, 24};
const Region kListBand = {0, 24, kWidth, 200};
const Region kBelowText = {0, 224, kWidth, kHeight - 224};

// The region's pixels as just drawn into the back buffer, row by row.
std::vector<Rgb> readRegion(const Region& r) {
  std::vector<Rgb> pixels(r.width * r.height);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(r.x, kHeight - r.y - r.height, r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE,
               pixels.data());
  return pixels;
}

struct Tally {
  int lit = 0, white = 0, red = 0;
};
Tally tally(const Region& r) {
  Tally t;
  for (const Rgb& c : readRegion(r)) {
    if ((c.r | c.g | c.b) != 0) ++t.lit;
    if (c.r == 255 && c.g == 255 && c.b == 255) ++t.white;
    if (c.r == 255 && c.g == 0 && c.b == 0) ++t.red;
  }
  return t;
}

void clearToBlack() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The overlay alone on a black window, over a depth buffer that hides
// everything depth-tested.
void drawOnBlack(bool touching = false) {
  glClearDepth(0.0);
  clearToBlack();
  glClearDepth(1.0);
  drawStatusOverlay(touching);
}

// The text is drawn into a state where lighting, a black texture, fog and the
// depth test would each hide it: the game's fixed state, a bound texture, and
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
  // Back to the state of a fresh window for the other tests of the process.
  void TearDown() override {
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &blackTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    scene = nullptr;
  }
};

TEST_F(StatusOverlayTest, StatusLineShowsInTheTopLeftAndFollowsTheSpeed) {
  gameState.controlsListShown = 0;
  drawOnBlack();
  Tally status = tally(kStatusBand);
  EXPECT_GT(status.white, 150) << "white text in the top band";
  EXPECT_EQ(status.red, 0);
  EXPECT_EQ(tally(kListBand).lit + tally(kBelowText).lit, 0) << "nothing but the status line";
  // The text starts at the left edge, not centred or right-aligned.
  EXPECT_GT(tally(Region{0, 0, 40, 24}).white, 10);
  EXPECT_EQ(tally(Region{470, 0, kWidth - 470, 24}).lit, 0);
  const std::vector<Rgb> atRest = readRegion(kStatusBand);

  gameState.speed = 24;
  drawOnBlack();
  const std::vector<Rgb> moving = readRegion(kStatusBand);
  EXPECT_NE(std::memcmp(atRest.data(), moving.data(), atRest.size() * sizeof(Rgb)), 0)
      << "the speed shows";

  gameState.speed = 0;
  gameState.altitude = 12.5f;
  drawOnBlack();
  const std::vector<Rgb> lower = readRegion(kStatusBand);
  EXPECT_NE(std::memcmp(atRest.data(), lower.data(), atRest.size() * sizeof(Rgb)), 0)
      << "the altitude shows";
}

TEST_F(StatusOverlayTest, F3HidesTheStatusAndShowsItAgain) {
  gameState.controlsListShown = 0;
  drawOnBlack();
  const std::vector<Rgb> shown = readRegion(kStatusBand);

  onSpecialKey(GLUT_KEY_F3, 0, 0);
  drawOnBlack();
  EXPECT_EQ(countLitPixels(kWidth, kHeight), 0) << "hidden";

  onSpecialKey(GLUT_KEY_F3, 0, 0);
  drawOnBlack();
  const std::vector<Rgb> again = readRegion(kStatusBand);
  EXPECT_EQ(std::memcmp(shown.data(), again.data(), shown.size() * sizeof(Rgb)), 0);
}

TEST_F(StatusOverlayTest, TouchShowsTheStatusInRed) {
  gameState.controlsListShown = 0;
  drawOnBlack(true);
  Tally status = tally(kStatusBand);
  EXPECT_GT(status.red, 150);
  EXPECT_EQ(status.white, 0);
  EXPECT_EQ(status.red, status.lit) << "only red (and the black shadow)";
}

// The rows of the controls list's line `n` (0 is "Liste des controles"),
// from the tops of its capitals to its baseline.
Region listLine(int n) {
  return Region{0, 37 + 14 * n, kWidth, 10};
}

TEST_F(StatusOverlayTest, ControlsListShowsAtStartUntilTheFirstInput) {
  drawOnBlack();
  EXPECT_GT(tally(kStatusBand).white, 150);
  // Eleven text lines under the status line, one 14-pixel line apart.
  int linesWithText = 0;
  for (int line = 0; line < 13; ++line) {
    if (tally(listLine(line)).white > 20) ++linesWithText;
  }
  EXPECT_EQ(linesWithText, 11);
  // The list is drawn whole: "Echap = quitter" is its last text line.
  EXPECT_GT(tally(listLine(11)).white, 20);

  onKeyboard('x', 0, 0);  // a key with no effect of its own
  drawOnBlack();
  EXPECT_EQ(tally(kListBand).lit, 0) << "gone at the first key";
  EXPECT_GT(tally(kStatusBand).white, 150) << "the status stays";
  drawOnBlack();
  EXPECT_EQ(tally(kListBand).lit, 0) << "and it does not come back";

  // A Wii Remote button ends it at the next frame.
  resetGameState();
  gameState.WiimoteButtons.buttonHome = 1;
  drawOnBlack();
  EXPECT_EQ(tally(kListBand).lit, 0);
  EXPECT_EQ(gameState.controlsListShown, 0);
}

// What the overlay must leave as it found it.
struct GLSnapshot {
  GLboolean enables[7];
  GLint matrixMode, modelviewDepth, projectionDepth, attribDepth;
  GLint viewport[4];
  GLfloat modelview[16], projection[16], color[4], rasterPosition[4];
};
const GLenum kEnables[7] = {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_FOG,
                            GL_CULL_FACE, GL_BLEND,     GL_LIGHT0};

GLSnapshot takeSnapshot() {
  GLSnapshot s;
  std::memset(&s, 0, sizeof s);
  for (int i = 0; i < 7; ++i) s.enables[i] = glIsEnabled(kEnables[i]);
  glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attribDepth);
  glGetIntegerv(GL_VIEWPORT, s.viewport);
  glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
  glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
  glGetFloatv(GL_CURRENT_COLOR, s.color);
  glGetFloatv(GL_CURRENT_RASTER_POSITION, s.rasterPosition);
  return s;
}

void expectSameState(const GLSnapshot& a, const GLSnapshot& b, const char* when) {
  for (int i = 0; i < 7; ++i) EXPECT_EQ(a.enables[i], b.enables[i]) << when << ", enable " << i;
  EXPECT_EQ(a.matrixMode, b.matrixMode) << when;
  EXPECT_EQ(a.modelviewDepth, b.modelviewDepth) << when;
  EXPECT_EQ(a.projectionDepth, b.projectionDepth) << when;
  EXPECT_EQ(a.attribDepth, b.attribDepth) << when;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a.viewport[i], b.viewport[i]) << when;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a.modelview[i], b.modelview[i]) << when << ", modelview " << i;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a.projection[i], b.projection[i]) << when << ", projection " << i;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a.color[i], b.color[i]) << when << ", colour " << i;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a.rasterPosition[i], b.rasterPosition[i]) << when;
}

TEST_F(StatusOverlayTest, StateIsRestoredWhateverItWas) {
  // As the game's frame leaves it: lit, textured, depth-tested, model-view
  // current; fog on as well, which the overlay must switch off and back.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1.0f, 2.0f, -3.0f);
  glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glRasterPos3f(0.1f, 0.2f, -3.5f);
  GLSnapshot before = takeSnapshot();
  drawStatusOverlay(false);
  expectSameState(before, takeSnapshot(), "game state");
  drawStatusOverlay(true);
  expectSameState(before, takeSnapshot(), "game state, touching");

  // Everything off and the projection current: left off and current.
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_FOG);
  glEnable(GL_CULL_FACE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-2.0, 2.0, -1.0, 1.0, -5.0, 5.0);
  before = takeSnapshot();
  drawStatusOverlay(false);
  expectSameState(before, takeSnapshot(), "bare state");
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  // A window of height 0: nothing to draw into, and no error either.
  glViewport(0, 0, kWidth, 0);
  before = takeSnapshot();
  drawStatusOverlay(false);
  expectSameState(before, takeSnapshot(), "window of height 0");
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glViewport(0, 0, kWidth, kHeight);

  glDisable(GL_CULL_FACE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// A frame that, like the game's, relies on the state around it: the
// projection of the reshape, lighting and depth test on, and the current
// colour for an unlit line.
void referenceFrame() {
  clearToBlack();
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
  std::vector<Rgb> first = readRegion(Region{0, 0, kWidth, kHeight});
  EXPECT_GT(countLitPixels(kWidth, kHeight), 20000) << "the reference frame draws";

  drawStatusOverlay(true);
  std::vector<Rgb> withText = readRegion(Region{0, 0, kWidth, kHeight});
  EXPECT_NE(std::memcmp(first.data(), withText.data(), first.size() * sizeof(Rgb)), 0);

  referenceFrame();
  std::vector<Rgb> second = readRegion(Region{0, 0, kWidth, kHeight});
  EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(Rgb)), 0);
}

// A scene of one actor, the ship, whose last step reported `flags`.
struct ShipOnlyScene : NxScene {
  ActorObject actor;
  MyNXAvatar ship{&actor, 1};
  NxActor* list[1] = {&actor};
  ShipOnlyScene() { actor.userData = &ship; }
  void simulate(float) override {}
  void flushStream() override {}
  bool fetchResults(NxSimulationStatus, bool) override { return true; }
  NxActor* createActor(const NxActorDesc&) override { return nullptr; }
  NxU32 getNbActors() const override { return 1; }
  NxActor** getActors() override { return list; }
  void setActorPairFlags(NxActor&, NxActor&, NxU32) override {}
  NxU32 getActorPairFlags(NxActor&, NxActor&) const override { return 0; }
  void getGravity(NxVec3& gravity) const override { gravity = NxVec3(); }
};

// Colours of the bitmaps (the glyphs) one whole frame draws, read through
// OpenGL's feedback mode, so the swap at the frame's end does not matter.
struct Glyphs {
  int red = 0, white = 0, other = 0;
};
Glyphs glyphsOfOneFrame() {
  static std::vector<GLfloat> buffer(1 << 22);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  onDisplay();
  int count = glRenderMode(GL_RENDER);
  EXPECT_GE(count, 0) << "feedback buffer overflow";
  Glyphs glyphs;
  const int vertex = 7;  // x, y, z, r, g, b, a
  for (int i = 0; i < count;) {
    int token = static_cast<int>(buffer[i]);
    if (token == GL_BITMAP_TOKEN) {
      const GLfloat* c = &buffer[i + 4];
      if (c[0] == 1.0f && c[1] == 0.0f && c[2] == 0.0f) {
        ++glyphs.red;
      } else if (c[0] == 1.0f && c[1] == 1.0f && c[2] == 1.0f) {
        ++glyphs.white;
      } else if (c[0] != 0.0f || c[1] != 0.0f || c[2] != 0.0f) {
        ++glyphs.other;
      }
      i += 1 + vertex;
    } else if (token == GL_PASS_THROUGH_TOKEN) {
      i += 2;
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      i += 1 + 2 * vertex;
    } else if (token == GL_POLYGON_TOKEN) {
      i += 2 + vertex * static_cast<int>(buffer[i + 1]);
    } else {
      i += 1 + vertex;  // point, draw-pixel and copy-pixel tokens
    }
  }
  return glyphs;
}

TEST_F(StatusOverlayTest, FrameShowsTheTouchOfItsPhysicsStep) {
  ShipOnlyScene ships;
  scene = &ships;
  gameState.controlsListShown = 0;
  char line[256];
  formatStatusLine(line, sizeof line);
  const int letters = static_cast<int>(std::strlen(line));

  // Not touching: the status line, white, one glyph per character.
  Glyphs calm = glyphsOfOneFrame();
  EXPECT_EQ(calm.white, letters);
  EXPECT_EQ(calm.red, 0);
  EXPECT_FALSE(shipTouching());

  // The frame that starts a touch already shows it, though the ship itself
  // turns red only from the next frame on; so do the frames that go on
  // touching. The frame of the end alone does not.
  const uint32_t flags[] = {2 | 8, 8, 4, 0};
  const bool red[] = {true, true, false, false};
  for (int i = 0; i < 4; ++i) {
    ships.ship.contactFlags = flags[i];
    formatStatusLine(line, sizeof line);
    const int n = static_cast<int>(std::strlen(line));
    Glyphs frame = glyphsOfOneFrame();
    EXPECT_EQ(frame.red, red[i] ? n : 0) << "flags " << flags[i];
    EXPECT_EQ(frame.white, red[i] ? 0 : n) << "flags " << flags[i];
    EXPECT_EQ(frame.other, 0);
    EXPECT_EQ(ships.ship.contactFlags, 0u) << "the frame clears the marks";
  }

  // Hidden with F3: the frame draws no glyph.
  onSpecialKey(GLUT_KEY_F3, 0, 0);
  Glyphs hidden = glyphsOfOneFrame();
  EXPECT_EQ(hidden.white + hidden.red + hidden.other, 0);
}

}  // namespace
