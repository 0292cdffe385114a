// Building blocks for the generated models, in the game's own axes: y up,
// the ship's nose toward -z. Every part is a closed surface whose triangles
// wind counter-clockwise seen from outside, since actors are drawn with back
// faces culled; toTdsObject turns the result into the 3DS file's z-up axes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/tds_writer.h"

struct Point3 {
  float x, y, z;
};

Point3 operator+(Point3 a, Point3 b);
Point3 operator-(Point3 a, Point3 b);
Point3 operator*(Point3 a, float s);
Point3 cross(Point3 a, Point3 b);
float dot(Point3 a, Point3 b);

// One object under construction. New faces join the group of `material`.
struct MeshBuilder {
  std::vector<Point3> points;
  std::vector<float> uv;  // u, v per point
  std::vector<uint16_t> triangles;
  std::vector<TdsGroup> groups;
  std::string material;

  uint16_t vertex(Point3 p, float u = 0, float v = 0);
  // Adds the triangle (a, b, c), swapped if needed so that it faces away
  // from `inside`.
  void triangle(uint16_t a, uint16_t b, uint16_t c, Point3 inside);
};

// A frame for lofted parts: point(t, s, w) = origin + axis*t + side*s + up*w.
struct Frame {
  Point3 origin, axis, side, up;
};

// One cross-section of a loft: an ellipse at `t` along the axis, centred at
// (s, w) = (cs, cw) with radii rs, rw. Radii 0 make a tip.
struct Ring {
  float t, cs, cw, rs, rw;
};

// A box centred on `centre` with half sizes `half`; flat faces.
void addBox(MeshBuilder& mesh, Point3 centre, Point3 half);
// A smooth body through the rings (at least two, in order along the axis),
// `sides` vertices around; ends that are not tips get flat caps.
void addLoft(MeshBuilder& mesh, const Frame& frame, const std::vector<Ring>& rings, int sides);
// A flat slab: the convex polygon `outline` pushed by +/- `halfThickness`.
void addSlab(MeshBuilder& mesh, const std::vector<Point3>& outline, Point3 halfThickness);
// An ellipsoid with shared vertices (closed: every edge belongs to exactly two
// triangles): one vertex per pole, `slices` around, `stacks` from pole to
// pole. Texture u runs 0 to 1 over half the longitudes and back again, so the
// texture wraps without a seam; v runs 0 at the south pole to 1 at the north.
void addEllipsoid(MeshBuilder& mesh, Point3 centre, Point3 radii, int slices, int stacks);

// The object in file axes: game (x, y, z) is written as (x, -z, y), which
// the reader turns back into (x, y, z).
TdsObject toTdsObject(const MeshBuilder& mesh, const std::string& name, bool withTexCoords);

// Texture coordinate u of longitude step j of `slices` on a mirrored sphere.
float mirroredU(int j, int slices);
