// The starfield: nineteen point-drawn spheres turned by the rotations made
// before each, white points, and the GL state put back afterwards.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "tests/scenery/scene_capture.h"
#include "tests/support/gl_window.h"

namespace {

struct Vec {
  double x, y, z;
};

// Turns v by `degrees` about the unit axis (1, 1, 0) / sqrt 2 (Rodrigues).
Vec turnAboutDiagonal(Vec v, double degrees) {
  const double a = degrees * M_PI / 180.0;
  const double k = 1.0 / sqrt(2.0);
  const Vec axis{k, k, 0.0};
  const double dot = axis.x * v.x + axis.y * v.y + axis.z * v.z;
  const Vec cross{axis.y * v.z - axis.z * v.y, axis.z * v.x - axis.x * v.z,
                  axis.x * v.y - axis.y * v.x};
  const double c = cos(a), s = sin(a);
  return Vec{v.x * c + cross.x * s + axis.x * dot * (1 - c),
             v.y * c + cross.y * s + axis.y * dot * (1 - c),
             v.z * c + cross.z * s + axis.z * dot * (1 - c)};
}

// Where the +z pole of sphere k (radius 200 + 100k) lands: turned by the
// rotations of spheres k-1, ..., 1, the last one made applied first.
Vec poleOfSphere(int k) {
  Vec p{0.0, 0.0, 200.0 + 100.0 * k};
  for (int j = k - 1; j >= 1; --j) p = turnAboutDiagonal(p, 77 + 2 * (j - 1));
  return p;
}

// The starfield as the frame drew it before: GLUT's solid spheres in polygon
// mode GL_POINT, so clipping's vertices show too.
void drawStarfieldAsSolidSpheres() {
  glPushMatrix();
  glColor3f(1.0f, 1.0f, 1.0f);
  glDisable(GL_LIGHTING);
  glPointSize(2.0f);
  glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
  for (int k = 1; k <= 19; ++k) {
    glutSolidSphere(200.0 + 100.0 * k, k, k);
    glRotatef(static_cast<float>(77 + 2 * (k - 1)), 1.0f, 1.0f, 0.0f);
  }
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();
}

int litIn(const Picture& picture, int x0, int y0, int width, int height) {
  int lit = 0;
  for (int y = y0; y < y0 + height; ++y) {
    for (int x = x0; x < x0 + width; ++x) lit += picture.lit(x, y) ? 1 : 0;
  }
  return lit;
}

class StarfieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    startScene();
  }
};

TEST_F(StarfieldTest, SpheresOfRadius300To2100WithAccumulatedRotations) {
  std::vector<DrawnPoint> points = captureDrawing(drawStarfield, 3000.0f);
  ASSERT_FALSE(points.empty());
  // Sort every point onto its sphere by its distance from the origin.
  std::map<int, std::vector<Vec>> byRadius;
  for (const DrawnPoint& p : points) {
    double r = sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
    int k = static_cast<int>(lround((r - 200.0) / 100.0));
    ASSERT_NEAR(r, 200.0 + 100.0 * k, 0.5) << "a point off every sphere";
    ASSERT_GE(k, 1);
    ASSERT_LE(k, 19);
    byRadius[k].push_back(Vec{p.x, p.y, p.z});
  }
  // Sphere 1, one slice and one stack, has no face to show; every other one
  // shows its vertices, more of them the more slices and stacks it has.
  for (int k = 2; k <= 19; ++k) {
    ASSERT_FALSE(byRadius[k].empty()) << "sphere " << k;
    const Vec pole = poleOfSphere(k);
    bool found = false;
    for (const Vec& v : byRadius[k]) {
      if (fabs(v.x - pole.x) < 1.0 && fabs(v.y - pole.y) < 1.0 && fabs(v.z - pole.z) < 1.0) {
        found = true;
      }
    }
    EXPECT_TRUE(found) << "sphere " << k << " is not turned by the rotations before it";
  }
  EXPECT_GT(byRadius[19].size(), byRadius[3].size());
}

TEST_F(StarfieldTest, DrawsWhitePointsAndPutsTheStateBack) {
  onReshape(640, 480);
  glEnable(GL_LIGHTING);
  glPointSize(7.0f);
  glColor3f(0.2f, 0.3f, 0.4f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  placeCamera(shipPose());  // the chase camera at the start: inside the spheres
  drawStarfield();

  Picture picture = readPicture();
  int lit = 0, notGrey = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Rgb c = picture.at(x, y);
      if (picture.lit(x, y)) {
        ++lit;
        if (c.r != c.g || c.g != c.b) ++notGrey;
      }
    }
  }
  EXPECT_GT(lit, 200) << "the stars show";
  EXPECT_LT(lit, 640 * 480 / 4) << "as points, not filled spheres";
  EXPECT_EQ(notGrey, 0) << "white points, unlit";

  GLint mode[2];
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_FILL);
  EXPECT_EQ(mode[1], GL_FILL);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  GLfloat size;
  glGetFloatv(GL_POINT_SIZE, &size);
  EXPECT_EQ(size, 2.0f) << "the point size stays as the starfield set it";
}

TEST_F(StarfieldTest, PointsAreTwoPixelsWide) {
  onReshape(640, 480);
  glDisable(GL_MULTISAMPLE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  placeCamera(shipPose());
  drawStarfield();
  // A lone point shows as a 2 x 2 block: look for one whose right and lower
  // neighbours are lit and that has no lit pixel further out.
  Picture picture = readPicture();
  int blocks = 0;
  for (int y = 2; y < 476 && blocks == 0; ++y) {
    for (int x = 2; x < 636 && blocks == 0; ++x) {
      auto on = [&picture](int px, int py) { return picture.lit(px, py); };
      if (!on(x, y) || !on(x + 1, y) || !on(x, y + 1) || !on(x + 1, y + 1)) continue;
      bool alone = true;
      for (int i = -1; i <= 2; ++i) {
        if (on(x + i, y - 1) || on(x + i, y + 2) || on(x - 1, y + i) || on(x + 2, y + i)) {
          alone = false;
        }
      }
      if (alone) ++blocks;
    }
  }
  glEnable(GL_MULTISAMPLE);
  EXPECT_EQ(blocks, 1);
}

// Clipping a sphere's faces at the window's edges made new vertices there,
// drawn as rows of dots along all four edges. Now each edge band, two pixels
// deep, holds no more lit pixels than one of the same size further in; and
// every point is one of the solid sphere's vertices, to the last bit, and
// every vertex is drawn.
TEST_F(StarfieldTest, NoDotsAlongTheWindowsEdgesAndTheStarsStayWhereTheyWere) {
  onReshape(640, 480);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  placeCamera(shipPose());
  drawStarfield();
  const Picture p = readPicture();
  // Top, bottom, left and right: the outermost band, and the most any band
  // further in holds.
  int edges[4] = {litIn(p, 0, 0, 640, 2), litIn(p, 0, 478, 640, 2), litIn(p, 0, 0, 2, 480),
                  litIn(p, 638, 0, 2, 480)};
  int inside[4] = {0, 0, 0, 0};
  for (int d = 2; d <= 40; d += 2) {
    inside[0] = std::max(inside[0], litIn(p, 0, d, 640, 2));
    inside[1] = std::max(inside[1], litIn(p, 0, 478 - d, 640, 2));
    inside[2] = std::max(inside[2], litIn(p, d, 0, 2, 480));
    inside[3] = std::max(inside[3], litIn(p, 638 - d, 0, 2, 480));
  }
  for (int e = 0; e < 4; ++e) EXPECT_LE(edges[e], inside[e]) << "dots along edge " << e;

  auto distinct = [](const std::vector<DrawnPoint>& points) {
    std::set<std::array<float, 3>> xyz;
    for (const DrawnPoint& q : points) xyz.insert({q.x, q.y, q.z});
    return xyz;
  };
  const auto before = distinct(captureDrawing(drawStarfieldAsSolidSpheres, 3000.0f));
  EXPECT_EQ(before.size(), 2316u) << "spheres 2 to 19: k (k - 1) ring vertices and two poles each";
  EXPECT_TRUE(distinct(captureDrawing(drawStarfield, 3000.0f)) == before);
}

}  // namespace
