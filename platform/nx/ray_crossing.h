// Where a ray parallel to a coordinate axis crosses a triangle, decided
// exactly: the pmap's build and the exact inside test share it, so both count
// the same crossings. Internal to the physics stand-in.
#pragma once

#include "platform/nx/geometry.h"

inline float axisComponent(Vec3 p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

// True when the triangle's shadow on the plane across `axis` has no area: a
// ray moved off its plane never crosses it.
inline bool seenEdgeOn(int axis, Vec3 a, Vec3 b, Vec3 c) {
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  const double aU = axisComponent(a, u), aV = axisComponent(a, v);
  const double bU = axisComponent(b, u), bV = axisComponent(b, v);
  const double cU = axisComponent(c, u), cV = axisComponent(c, v);
  return (bU - aU) * (cV - aV) - (bV - aV) * (cU - aU) == 0;
}

// Which side of the edge a -> b the ray passes, the edge's end points given
// relative to the ray in the plane across it: the sign of their cross
// product. A zero (the ray on the edge's line) is broken as if the ray had
// moved by an infinitely small step along +u and a far smaller one along +v.
// The edge b -> a gets exactly the opposite answer, so of two triangles
// sharing an edge the ray enters exactly one.
inline bool edgeSide(double au, double av, double bu, double bv) {
  double e = au * bv - av * bu;
  if (e != 0) return e > 0;
  double du = bu - au, dv = bv - av;
  return dv < 0 || (dv == 0 && du > 0);
}

// The ray's crossing with a triangle not seen edge-on, its corners given
// relative to the ray across it (u, v: differences of floats, exact in
// double, so the signs of the edge tests are) and by their positions along
// it (t). True with the crossing's position in `at` when the ray passes
// through the triangle.
inline bool rayCrossing(double au, double av, double bu, double bv, double cu, double cv, double aT, double bT,
                        double cT, float& at) {
  const bool sideC = edgeSide(au, av, bu, bv);  // edge a -> b, facing c
  if (edgeSide(bu, bv, cu, cv) != sideC || edgeSide(cu, cv, au, av) != sideC) return false;
  // Barycentric weights: each vertex's weight is the area facing it.
  const double wA = bu * cv - bv * cu, wB = cu * av - cv * au, wC = au * bv - av * bu;
  const double sum = wA + wB + wC;
  if (sum == 0) return false;
  at = float((wA * aT + wB * bT + wC * cT) / sum);
  return true;
}
