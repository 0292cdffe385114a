// The mesh: axis turn, area-weighted vertex normals, totals, copies.
#include <gtest/gtest.h>

#include <cmath>

#include "model/model_check.h"
#include "tests/model/bytes_3ds.h"
#include "tests/model/model_test_util.h"

using namespace bytes3ds;

namespace {

void expectVec(const float* v, float x, float y, float z, float tolerance = 1e-6f) {
  EXPECT_NEAR(v[0], x, tolerance);
  EXPECT_NEAR(v[1], y, tolerance);
  EXPECT_NEAR(v[2], z, tolerance);
}

TEST(Mesh, FileVertexIsTurnedFromZUpToYUp) {
  Model_3DS model;
  readBytes(model, file3ds(object("V", vertices({{1, 2, 3}, {-4, 5.5f, -6}}))));
  const float* v = model.objects[0].vertices;
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[1], 3);
  EXPECT_EQ(v[2], -2);
  EXPECT_EQ(v[3], -4);
  EXPECT_EQ(v[4], -6);
  EXPECT_EQ(v[5], -5.5f);
}

TEST(Mesh, SingleTriangleNormalPointsUpAfterTheTurn) {
  Model_3DS model;
  readBytes(model, file3ds(object("T", vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) + faces({{0, 1, 2}}))));
  const ModelObject& obj = model.objects[0];
  expectVec(obj.vertices + 6, 0, 0, -1);
  for (int k = 0; k < 3; ++k) expectVec(obj.normals + 3 * k, 0, 1, 0);
}

TEST(Mesh, SharedVerticesWeighFacesByArea) {
  // Two faces on the edge (0, 1): the first in the file's x-y plane with
  // area 1/2, the second in the x-z plane with area 3/2. After the turn their
  // unnormalised normals are (0, 1, 0) and (0, 0, -3): |n| is twice the area.
  Model_3DS model;
  readBytes(model, file3ds(object("W", vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -3}}) +
                                          faces({{0, 1, 2}, {0, 1, 3}}))));
  const ModelObject& obj = model.objects[0];
  const float len = std::sqrt(1.0f + 9.0f);
  expectVec(obj.normals + 0, 0, 1 / len, -3 / len);  // shared: (0, 1, -3) normalised
  expectVec(obj.normals + 3, 0, 1 / len, -3 / len);
  expectVec(obj.normals + 6, 0, 1, 0);   // only the first face
  expectVec(obj.normals + 9, 0, 0, -1);  // only the second face
}

TEST(Mesh, VertexUsedByNoFaceKeepsAZeroNormal) {
  Model_3DS model;
  readBytes(model, file3ds(object("U", vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}) + faces({{0, 1, 2}}))));
  const float* n = model.objects[0].normals + 9;
  EXPECT_EQ(n[0], 0);
  EXPECT_EQ(n[1], 0);
  EXPECT_EQ(n[2], 0);
  EXPECT_FALSE(std::isnan(n[0]));
}

TEST(Mesh, DegenerateFaceAddsNothing) {
  Model_3DS model;
  readBytes(model, file3ds(object("D", vertices({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}) + faces({{0, 1, 2}}))));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(model.objects[0].normals[i], 0);
}

std::string boxObject(const std::string& objectName, int vertexCount, int faceCount) {
  std::vector<Vec3> points;
  for (int k = 0; k < vertexCount; ++k) points.push_back({float(k % 2), float(k / 2 % 2), float(k / 4)});
  std::vector<Tri> tris;
  for (int f = 0; f < faceCount; ++f) {
    tris.push_back({uint16_t(f % vertexCount), uint16_t((f + 1) % vertexCount), uint16_t((f + 2) % vertexCount)});
  }
  return object(objectName, vertices(points) + faces(tris));
}

TEST(Mesh, TotalsAddUpTheObjects) {
  Model_3DS model;
  readBytes(model, file3ds(boxObject("A", 8, 12) + boxObject("B", 24, 36)));
  EXPECT_EQ(model.nb_obj, 2);
  EXPECT_EQ(model.tot_verts, 32);
  EXPECT_EQ(model.tot_faces, 48);
  EXPECT_EQ(model.objects[1].faceIndexCount, 108);
  std::string problem;
  EXPECT_TRUE(checkModel(model, &problem)) << problem;
}

TEST(Mesh, NormalsOfAClosedBoxPointOutwards) {
  // A unit cube around the origin: every corner normal points away from the centre.
  std::vector<Vec3> corners;
  for (int k = 0; k < 8; ++k) corners.push_back({k & 1 ? 1.f : -1.f, k & 2 ? 1.f : -1.f, k & 4 ? 1.f : -1.f});
  std::vector<Tri> tris = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                           {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
  Model_3DS model;
  readBytes(model, file3ds(object("Cube", vertices(corners) + faces(tris))));
  const ModelObject& obj = model.objects[0];
  for (int k = 0; k < 8; ++k) {
    const float* v = obj.vertices + 3 * k;
    const float* n = obj.normals + 3 * k;
    EXPECT_GT(v[0] * n[0] + v[1] * n[1] + v[2] * n[2], 0.5f) << "corner " << k;
    EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1, 1e-5);
  }
}

TEST(Mesh, DefaultsOfAFreshModel) {
  Model_3DS model;
  EXPECT_EQ(model.modelname, nullptr);
  ASSERT_NE(model.folder, nullptr);
  EXPECT_STREQ(model.folder, "");
  EXPECT_EQ(model.nb_obj, 0);
  EXPECT_EQ(model.materialCount, 0);
  EXPECT_EQ(model.scale, 1.0f);
  EXPECT_TRUE(model.lit);
  EXPECT_TRUE(model.visible);
  EXPECT_FALSE(model.showNormals);
  EXPECT_EQ(model.displayList, 0u);
  EXPECT_EQ(model.objects, nullptr);
  EXPECT_EQ(model.materials, nullptr);
}

TEST(Mesh, CopySharesTheArraysAndLeavesTheSourceIntactWhenDestroyed) {
  Model_3DS model;
  readBytes(model, file3ds(boxObject("A", 8, 12)));
  {
    Model_3DS copy(model);
    EXPECT_EQ(copy.objects, model.objects);
    EXPECT_EQ(copy.objects[0].vertices, model.objects[0].vertices);
    EXPECT_EQ(copy.modelname, model.modelname);
    EXPECT_EQ(copy.tot_faces, 12);
  }
  EXPECT_EQ(model.objects[0].vertexCount, 8);
  EXPECT_EQ(model.objects[0].faceIndices[3], 1);
  EXPECT_EQ(model.objects[0].vertices[3], 1);
}

TEST(Mesh, ReleasedModelIsEmptyAndCanBeReadAgain) {
  Model_3DS model;
  readBytes(model, file3ds(boxObject("A", 8, 12)));
  releaseModel(model);
  EXPECT_EQ(model.nb_obj, 0);
  EXPECT_EQ(model.objects, nullptr);
  readBytes(model, file3ds(boxObject("B", 24, 36)));
  EXPECT_EQ(model.tot_faces, 36);
  releaseModel(model);
}

}  // namespace
