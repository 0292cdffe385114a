#include <cstring>

#include "platform/nx/geometry.h"
#include "platform/nx/nx.h"

void NxMat33::id() {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = i == j ? 1.0f : 0.0f;
}

void NxMat33::setRowMajor(const NxReal values[9]) {
  for (int i = 0; i < 9; ++i) m[i / 3][i % 3] = values[i];
}

void NxMat33::getRowMajor(NxReal values[9]) const {
  for (int i = 0; i < 9; ++i) values[i] = m[i / 3][i % 3];
}

void NxMat34::id() {
  M.id();
  t = NxVec3();
}

Pose relativePose(const Pose& a, const Pose& b) {
  // inverse(a) = (R^T, -R^T t); inverse(a) * b = (Ra^T Rb, Ra^T (tb - ta)).
  Pose r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.R[i][j] = a.R[0][i] * b.R[0][j] + a.R[1][i] * b.R[1][j] + a.R[2][i] * b.R[2][j];
  Vec3 d = b.t - a.t;
  r.t = {a.R[0][0] * d.x + a.R[1][0] * d.y + a.R[2][0] * d.z,
         a.R[0][1] * d.x + a.R[1][1] * d.y + a.R[2][1] * d.z,
         a.R[0][2] * d.x + a.R[1][2] * d.y + a.R[2][2] * d.z};
  return r;
}

static_assert(sizeof(Vec3) == 3 * sizeof(float), "points are copied as packed floats");

MeshGeometry meshFromArrays(const float* points, size_t vertexCount, const uint32_t* triangles,
                            size_t triangleCount) {
  MeshGeometry mesh;
  mesh.points.resize(vertexCount);
  if (vertexCount > 0) memcpy(mesh.points.data(), points, vertexCount * sizeof(Vec3));
  mesh.triangles.assign(triangles, triangles + 3 * triangleCount);
  return mesh;
}
