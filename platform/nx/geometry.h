// Small vector and pose helpers shared by the collision code. Internal to the
// physics stand-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Vec3 {
  float x, y, z;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A rigid pose: p' = R p + t, R stored row by row.
struct Pose {
  float R[3][3];
  Vec3 t;
};

inline Vec3 transformPoint(const Pose& pose, Vec3 p) {
  return {pose.R[0][0] * p.x + pose.R[0][1] * p.y + pose.R[0][2] * p.z + pose.t.x,
          pose.R[1][0] * p.x + pose.R[1][1] * p.y + pose.R[1][2] * p.z + pose.t.y,
          pose.R[2][0] * p.x + pose.R[2][1] * p.y + pose.R[2][2] * p.z + pose.t.z};
}

// The pose of b's frame seen from a's frame: inverse(a) * b.
Pose relativePose(const Pose& a, const Pose& b);

// A triangle mesh's geometry as the SDK keeps it: its own copy of the points
// (x, y, z per vertex) and triangles (three vertex indices each, every index
// below the vertex count).
struct MeshGeometry {
  std::vector<Vec3> points;
  std::vector<uint32_t> triangles;
  uint32_t triangleCount() const { return static_cast<uint32_t>(triangles.size() / 3); }
};

// Copies flat arrays (x, y, z per vertex; three indices per triangle) into a
// mesh, unchecked: the caller validates the indices.
MeshGeometry meshFromArrays(const float* points, size_t vertexCount, const uint32_t* triangles,
                            size_t triangleCount);

// One vertex of each connected part of the mesh's surface, the lowest index
// of each. Vertices are connected by the triangles that share them and by
// standing at the same position; vertices no triangle uses belong to no part.
// The mesh's indices must be valid.
std::vector<uint32_t> meshPartVertices(const MeshGeometry& mesh);
