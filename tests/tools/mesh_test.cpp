// The mesh building blocks: closed, outward-wound parts and the axis change
// into the 3DS file.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools/geometry.h"
#include "tools/mesh.h"

namespace {

// Every triangle faces away from `centre` (for convex parts).
int inwardTriangles(const MeshBuilder& mesh, Point3 centre) {
  int inward = 0;
  for (size_t t = 0; t < mesh.triangles.size(); t += 3) {
    Point3 a = mesh.points[mesh.triangles[t]], b = mesh.points[mesh.triangles[t + 1]],
         c = mesh.points[mesh.triangles[t + 2]];
    Point3 normal = cross(b - a, c - a);
    if (dot(normal, (a + b + c) * (1.0f / 3) - centre) <= 0) ++inward;
  }
  return inward;
}

}  // namespace

TEST(Mesh, EllipsoidIsClosedOutwardAndSharesItsVertices) {
  MeshBuilder mesh;
  mesh.material = "M";
  addEllipsoid(mesh, {1, 2, 3}, {10, 10, 10}, 16, 10);
  EXPECT_EQ(mesh.points.size(), 2u + 9 * 16);
  EXPECT_EQ(mesh.triangles.size() / 3, 2u * 16 * 9);
  EXPECT_EQ(closedSurfaceFault(mesh.triangles), "");
  EXPECT_EQ(inwardTriangles(mesh, {1, 2, 3}), 0);
  // Euler characteristic of a sphere: V - E + F = 2, with E = 3F / 2.
  long v = mesh.points.size(), f = mesh.triangles.size() / 3;
  EXPECT_EQ(v - 3 * f / 2 + f, 2);
  double volume = signedVolume(mesh.points, mesh.triangles);
  EXPECT_GT(volume, 0.9 * 4.0 / 3.0 * M_PI * 1000);
  EXPECT_LT(volume, 4.0 / 3.0 * M_PI * 1000);
  for (Point3 p : mesh.points) {
    Point3 d = p - Point3{1, 2, 3};
    EXPECT_NEAR(std::sqrt(dot(d, d)), 10.0f, 1e-4f);
  }
  ASSERT_EQ(mesh.groups.size(), 1u);
  EXPECT_EQ(mesh.groups[0].faces.size(), mesh.triangles.size() / 3);
}

TEST(Mesh, MirroredTextureCoordinatesWrapWithoutASeam) {
  EXPECT_FLOAT_EQ(mirroredU(0, 16), 0.0f);
  EXPECT_FLOAT_EQ(mirroredU(8, 16), 1.0f);
  for (int j = 1; j < 8; ++j) EXPECT_FLOAT_EQ(mirroredU(j, 16), mirroredU(16 - j, 16));
  // Neighbours around the whole ring, the last and the first included, are
  // one step apart: no triangle spans the texture.
  for (int j = 0; j < 16; ++j) {
    EXPECT_NEAR(std::fabs(mirroredU(j, 16) - mirroredU((j + 1) % 16, 16)), 0.125f, 1e-6f);
  }
}

TEST(Mesh, BoxSlabAndLoftEncloseTheirVolumeFacingOut) {
  MeshBuilder box;
  addBox(box, {5, 0, 0}, {1, 2, 3});
  EXPECT_EQ(box.triangles.size() / 3, 12u);
  EXPECT_EQ(inwardTriangles(box, {5, 0, 0}), 0);
  EXPECT_NEAR(signedVolume(box.points, box.triangles), 48.0, 1e-3);

  MeshBuilder slab;
  addSlab(slab, {{0, 0, 0}, {2, 0, 0}, {2, 0, -1}, {0, 0, -1}}, {0, 0.5f, 0});
  EXPECT_EQ(inwardTriangles(slab, {1, 0, -0.5f}), 0);
  EXPECT_NEAR(signedVolume(slab.points, slab.triangles), 2.0, 1e-4);
  // The outline's own winding does not matter.
  MeshBuilder reversed;
  addSlab(reversed, {{0, 0, -1}, {2, 0, -1}, {2, 0, 0}, {0, 0, 0}}, {0, 0.5f, 0});
  EXPECT_NEAR(signedVolume(reversed.points, reversed.triangles), 2.0, 1e-4);

  // A 12-sided cylinder of radius 1 and length 4 with a cone of length 3 on it.
  MeshBuilder loft;
  addLoft(loft, Frame{{0, 0, 0}, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
          {{0, 0, 0, 1, 1}, {4, 0, 0, 1, 1}, {7, 0, 0, 0, 0}}, 12);
  double polygon = 12 * 0.5 * std::sin(2 * M_PI / 12);  // area of the 12-gon
  EXPECT_NEAR(signedVolume(loft.points, loft.triangles), polygon * 4 + polygon * 3 / 3, 1e-3);
  Bounds b = boundsOf(loft.points);
  EXPECT_FLOAT_EQ(b.min.z, -7);
  EXPECT_FLOAT_EQ(b.max.z, 0);
}

TEST(Mesh, FacesJoinTheGroupOfTheCurrentMaterial) {
  MeshBuilder mesh;
  mesh.material = "A";
  addBox(mesh, {0, 0, 0}, {1, 1, 1});
  mesh.material = "B";
  addBox(mesh, {3, 0, 0}, {1, 1, 1});
  mesh.material = "A";
  addBox(mesh, {6, 0, 0}, {1, 1, 1});
  ASSERT_EQ(mesh.groups.size(), 2u);
  EXPECT_EQ(mesh.groups[0].material, "A");
  EXPECT_EQ(mesh.groups[0].faces.size(), 24u);
  EXPECT_EQ(mesh.groups[1].faces.size(), 12u);
  EXPECT_EQ(mesh.groups[1].faces.front(), 12);
}

TEST(Mesh, TheFileAxesAreUndoneByTheReadersTransform) {
  MeshBuilder mesh;
  mesh.material = "M";
  uint16_t a = mesh.vertex({1, 2, 3}, 0.25f, 0.75f);
  uint16_t b = mesh.vertex({4, 5, 6});
  uint16_t c = mesh.vertex({7, 8, 10});
  mesh.triangle(a, b, c, {0, 0, 0});
  TdsObject object = toTdsObject(mesh, "T", true);
  // Game (x, y, z) goes to the file as (x, -z, y) ...
  EXPECT_EQ(std::vector<float>(object.vertices.begin(), object.vertices.begin() + 3),
            (std::vector<float>{1, -3, 2}));
  // ... and the reader's (f0, f2, -f1) gives it back.
  WalkedObject walked;
  walked.vertices = object.vertices;
  std::vector<Point3> back = gameVertices(walked);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_FLOAT_EQ(back[2].x, 7);
  EXPECT_FLOAT_EQ(back[2].y, 8);
  EXPECT_FLOAT_EQ(back[2].z, 10);
  EXPECT_EQ(object.texCoords[0], 0.25f);
  EXPECT_TRUE(toTdsObject(mesh, "T", false).texCoords.empty());
}
