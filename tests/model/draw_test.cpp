// Drawing through the display list, in a real window with pixels read back.
// The view is orthographic over [-1, 1] x [-1, 1], lighting off, colour
// white, so each pixel shows its texel unchanged.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/model/bytes_3ds.h"
#include "tests/model/model_test_util.h"
#include "tests/support/gl_window.h"

using namespace bytes3ds;

namespace {

// A square facing the viewer after the axis turn: the file's x-z plane.
std::vector<Vec3> viewSquare(float x0, float y0, float size) {
  return {{x0, 0, y0}, {x0 + size, 0, y0}, {x0 + size, 0, y0 + size}, {x0, 0, y0 + size}};
}

std::vector<Vec3> join(std::vector<Vec3> a, const std::vector<Vec3>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Window pixel of a view point.
int px(float x) { return int((x + 1) / 2 * 640); }
int py(float y) { return int((1 - y) / 2 * 480); }

void expectNear(Rgb got, int r, int g, int b) {
  EXPECT_NEAR(got.r, r, 2);
  EXPECT_NEAR(got.g, g, 2);
  EXPECT_NEAR(got.b, b, 2);
}

bool sameRgb(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Four texels red, green, blue, white, sampled without filtering: where a
// surface shows several of them, its texture coordinates vary.
GLuint checkerLoader(const char*) {
  static const unsigned char texels[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  GLuint id;
  glGenTextures(1, &id);
  glBindTexture(GL_TEXTURE_2D, id);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
  return id;
}

class Draw : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareGL();
    recordImageRequests();
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColor3f(1, 1, 1);
    glTexCoord2f(0, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
};

TEST_F(Draw, SolidColorMaterialShowsItsColour) {
  Model_3DS model;
  loadBytes(model, file3ds(solidMaterial("Rust", 200, 100, 50) +
                           object("Q", vertices(viewSquare(-0.5f, -0.5f, 1)) + faces(squareFaces(), group("Rust", {0, 1})))));
  ASSERT_NE(model.displayList, 0u);
  model.draw();
  expectNear(pixelAt(320, 240), 200, 100, 50);
  expectNear(pixelAt(px(-0.45f), py(0.45f)), 200, 100, 50);
  expectNear(pixelAt(px(0.6f), py(0)), 0, 0, 0);  // outside the square
  int lit = countLitPixels();
  EXPECT_NEAR(lit, 320 * 240, 1500);
  // The list leaves texturing on and the last group's texture bound.
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), model.materials[0].texture.id);
}

TEST_F(Draw, TwoGroupsWithTwoMaterialsDrawTwoColours) {
  std::vector<Tri> tris = {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}};
  Model_3DS model;
  loadBytes(model, file3ds(solidMaterial("Red", 255, 0, 0) + solidMaterial("Blue", 0, 0, 255) +
                           object("Two", vertices(join(viewSquare(-0.9f, -0.4f, 0.8f), viewSquare(0.1f, -0.4f, 0.8f))) +
                                             faces(tris, group("Blue", {2, 3}) + group("Red", {0, 1})))));
  model.draw();
  expectNear(pixelAt(px(-0.5f), py(0)), 255, 0, 0);
  expectNear(pixelAt(px(0.5f), py(0)), 0, 0, 255);
  expectNear(pixelAt(px(0), py(0)), 0, 0, 0);
}

TEST_F(Draw, UntexturedObjectAfterATexturedOneGetsNoTextureCoordinates) {
  GLTexture::imageLoader = checkerLoader;
  std::string uv = texCoords({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
  Model_3DS model;
  loadBytes(model, file3ds(material("Checker", mapChunk("checker.png")) +
                           object("Textured", vertices(viewSquare(-0.9f, -0.4f, 0.8f)) + uv +
                                                  faces(squareFaces(), group("Checker", {0, 1}))) +
                           object("Plain", vertices(viewSquare(0.1f, -0.4f, 0.8f)) +
                                               faces(squareFaces(), group("Checker", {0, 1})))));
  ASSERT_TRUE(model.objects[0].textured);
  ASSERT_FALSE(model.objects[1].textured);
  model.draw();
  // The textured square shows the four texels, one per quarter.
  Rgb corners[4] = {pixelAt(px(-0.8f), py(-0.3f)), pixelAt(px(-0.2f), py(-0.3f)), pixelAt(px(-0.2f), py(0.3f)),
                    pixelAt(px(-0.8f), py(0.3f))};
  expectNear(corners[0], 255, 0, 0);
  expectNear(corners[1], 0, 255, 0);
  expectNear(corners[2], 255, 255, 255);
  expectNear(corners[3], 0, 0, 255);
  // The plain one has a single texture coordinate: one colour all over.
  Rgb first = pixelAt(px(0.2f), py(-0.3f));
  EXPECT_GT(first.r + first.g + first.b, 0);
  for (Rgb other : {pixelAt(px(0.8f), py(-0.3f)), pixelAt(px(0.8f), py(0.3f)), pixelAt(px(0.2f), py(0.3f))}) {
    EXPECT_TRUE(sameRgb(first, other)) << int(other.r) << "," << int(other.g) << "," << int(other.b);
  }
}

TEST_F(Draw, ImageFileShowsUprightWithTextureCoordinateZeroAtItsBottomLeft) {
  // A 4 x 4 BMP, stored bottom row first: blue and white quarters below, red
  // and green above, as any image viewer shows it.
  auto rows = [](const std::string& left, const std::string& right) {
    std::string row = left + left + right + right;
    return row + row;
  };
  std::string pixels = rows(std::string("\xff\x00\x00", 3), std::string("\xff\xff\xff", 3)) +
                       rows(std::string("\x00\x00\xff", 3), std::string("\x00\xff\x00", 3));
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  std::string bmp = "BM" + le32(54 + 48) + le32(0) + le32(54) + le32(40) + le32(4) + le32(4) +
                    std::string("\x01\x00\x18\x00", 4) + le32(0) + le32(48) + le32(2835) + le32(2835) + le32(0) +
                    le32(0) + pixels;
  ScratchDir dir;
  dir.write("quarters.bmp", bmp);
  useRealImageLoader();
  Model_3DS model;
  loadBytes(model,
            file3ds(material("Quarters", mapChunk("quarters.bmp")) +
                    object("Q", vertices(viewSquare(-0.8f, -0.8f, 1.6f)) + texCoords({{0, 0}, {1, 0}, {1, 1}, {0, 1}}) +
                                    faces(squareFaces(), group("Quarters", {0, 1})))),
            dir.path() + "/m.3ds");
  ASSERT_NE(model.materials[0].texture.id, 0u);
  model.draw();
  expectNear(pixelAt(px(-0.4f), py(-0.4f)), 0, 0, 255);
  expectNear(pixelAt(px(0.4f), py(-0.4f)), 255, 255, 255);
  expectNear(pixelAt(px(-0.4f), py(0.4f)), 255, 0, 0);
  expectNear(pixelAt(px(0.4f), py(0.4f)), 0, 255, 0);
}

TEST_F(Draw, ModelWithoutObjectsOrInvisibleDrawsNothing) {
  Model_3DS empty;
  loadBytes(empty, file3ds(solidMaterial("Red", 255, 0, 0)));
  ASSERT_NE(empty.displayList, 0u);
  empty.draw();
  Model_3DS hidden;
  hidden.visible = false;
  loadBytes(hidden, file3ds(solidMaterial("Red", 255, 0, 0) +
                            object("Q", vertices(viewSquare(-1, -1, 2)) + faces(squareFaces(), group("Red", {0, 1})))));
  hidden.draw();
  Model_3DS never;
  never.draw();
  EXPECT_EQ(countLitPixels(), 0);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);  // the matrix stack is left as found
}

TEST_F(Draw, FacesOutsideEveryGroupAreNotDrawn) {
  Model_3DS model;
  loadBytes(model, file3ds(solidMaterial("Red", 255, 0, 0) +
                           object("Q", vertices(viewSquare(-1, -1, 2)) + faces(squareFaces()))));
  model.draw();
  EXPECT_EQ(countLitPixels(), 0);
}

TEST_F(Draw, GroupNamingNoMaterialIsDrawnPlain) {
  Model_3DS model;
  loadBytes(model, file3ds(object("Q", vertices(viewSquare(-0.5f, -0.5f, 1)) + faces(squareFaces(), group("Gone", {0, 1})))));
  ASSERT_EQ(model.objects[0].groups[0].material, -1);
  model.draw();
  expectNear(pixelAt(320, 240), 255, 255, 255);
}

TEST_F(Draw, TexturingStaysOnAfterAModelWhoseLastGroupNamesNoMaterial) {
  GLTexture::imageLoader = checkerLoader;
  std::vector<Tri> tris = {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}};
  Model_3DS model;
  loadBytes(model, file3ds(material("Checker", mapChunk("checker.png")) +
                           object("Q", vertices(join(viewSquare(-0.9f, -0.9f, 0.4f), viewSquare(-0.4f, -0.9f, 0.4f))) +
                                           faces(tris, group("Checker", {0, 1}) + group("Gone", {2, 3})))));
  ASSERT_EQ(model.objects[0].groups[1].material, -1);
  glEnable(GL_TEXTURE_2D);
  model.draw();
  expectNear(pixelAt(px(-0.2f), py(-0.7f)), 255, 255, 255);  // the plain group
  // A textured quad drawn next, as the scenery draws after a model: it shows
  // the four texels of the texture bound last, one per quarter.
  glBindTexture(GL_TEXTURE_2D, model.materials[0].texture.id);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0.1f, 0.1f);
  glTexCoord2f(1, 0);
  glVertex2f(0.9f, 0.1f);
  glTexCoord2f(1, 1);
  glVertex2f(0.9f, 0.9f);
  glTexCoord2f(0, 1);
  glVertex2f(0.1f, 0.9f);
  glEnd();
  expectNear(pixelAt(px(0.2f), py(0.2f)), 255, 0, 0);
  expectNear(pixelAt(px(0.8f), py(0.2f)), 0, 255, 0);
  expectNear(pixelAt(px(0.2f), py(0.8f)), 0, 0, 255);
  expectNear(pixelAt(px(0.8f), py(0.8f)), 255, 255, 255);
}

TEST_F(Draw, NormalsAreBlueLinesOfLengthOne) {
  // A square lying flat (file x-y plane) at view height -0.8: seen edge on,
  // its normals point up the screen from y = -0.8 to y = 0.2.
  const float x0 = -0.4984375f;  // the centre of pixel column 160
  Model_3DS model;
  model.showNormals = true;
  loadBytes(model, file3ds(solidMaterial("Red", 255, 0, 0) +
                           object("Flat", vertices({{x0, 0, 0.8f}, {x0 + 1, 0, 0.8f}, {x0 + 1, 1, 0.8f}, {x0, 1, 0.8f}}) +
                                              faces(squareFaces(), group("Red", {0, 1})))));
  // file z 0.8 becomes view y 0.8; flip it below the centre with the model-view matrix
  glScalef(1, -1, 1);
  glEnable(GL_LIGHTING);
  model.draw();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));  // switched off only around each line
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));  // and texturing only around the lines
  GLfloat color[4];
  glGetFloatv(GL_CURRENT_COLOR, color);
  EXPECT_EQ(color[0], 1);
  EXPECT_EQ(color[2], 1);
  glDisable(GL_LIGHTING);
  glLoadIdentity();
  // Lines from view y -0.8 down to -1.8 after the flip: below the square's edge.
  expectNear(pixelAt(160, py(-0.9f)), 0, 0, 255);
  EXPECT_EQ(pixelAt(160, py(-0.5f)).b, 0);
}

TEST_F(Draw, CopyDestroyedLeavesTheSourceDrawable) {
  Model_3DS model;
  loadBytes(model, file3ds(solidMaterial("Green", 0, 255, 0) +
                           object("Q", vertices(viewSquare(-0.5f, -0.5f, 1)) + faces(squareFaces(), group("Green", {0, 1})))));
  { Model_3DS copy(model); copy.draw(); }
  glClear(GL_COLOR_BUFFER_BIT);
  model.draw();
  expectNear(pixelAt(320, 240), 0, 255, 0);
}

}  // namespace
