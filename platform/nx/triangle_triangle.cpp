// Triangle-triangle intersection by signs of determinants (Guigue and
// Devillers): no divisions, so touching cases are decided by the same sign
// tests as crossings. Each sign is first taken in double with a bound on its
// round-off; only when the value lies within the bound is it worked out again
// in quadruple precision, which holds a product of three differences of
// floats exactly when the coordinates lie within a factor of about 2^12 of
// each other. A corner shared by both triangles thus always touches.
#include <cmath>
#include <utility>

#include "platform/nx/box_tree.h"

namespace {

struct D3 {
  double x, y, z;
};

D3 toD3(Vec3 v) { return {v.x, v.y, v.z}; }
D3 sub(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 crossD(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

int sign(double v) { return (v > 0) - (v < 0); }

typedef __float128 Quad;

int signQ(Quad v) { return (v > 0) - (v < 0); }

// Sign of det(b - a, c - a, d - a): positive when d lies on the side of
// plane (a, b, c) that (b - a) x (c - a) points to. Worked out as
// -det(a - d, b - d, c - d), which is exactly 0 when d is one of a, b, c.
int orient3d(D3 a, D3 b, D3 c, D3 d) {
  D3 u = sub(a, d), v = sub(b, d), w = sub(c, d);
  double m1 = v.y * w.z, m2 = v.z * w.y, m3 = v.z * w.x, m4 = v.x * w.z, m5 = v.x * w.y, m6 = v.y * w.x;
  double det = u.x * (m1 - m2) + u.y * (m3 - m4) + u.z * (m5 - m6);
  double permanent = std::fabs(u.x) * (std::fabs(m1) + std::fabs(m2)) +
                     std::fabs(u.y) * (std::fabs(m3) + std::fabs(m4)) +
                     std::fabs(u.z) * (std::fabs(m5) + std::fabs(m6));
  if (std::fabs(det) > 8e-16 * permanent) return -sign(det);
  Quad ux = Quad(a.x) - d.x, uy = Quad(a.y) - d.y, uz = Quad(a.z) - d.z;
  Quad vx = Quad(b.x) - d.x, vy = Quad(b.y) - d.y, vz = Quad(b.z) - d.z;
  Quad wx = Quad(c.x) - d.x, wy = Quad(c.y) - d.y, wz = Quad(c.z) - d.z;
  return -signQ(ux * (vy * wz - vz * wy) + uy * (vz * wx - vx * wz) + uz * (vx * wy - vy * wx));
}

struct P2 {
  double u, v;
};

// Sign of (b - a) x (c - a), with the same fallback as orient3d.
int orient2d(P2 a, P2 b, P2 c) {
  double left = (b.u - a.u) * (c.v - a.v), right = (b.v - a.v) * (c.u - a.u);
  double det = left - right;
  if (std::fabs(det) > 4e-16 * (std::fabs(left) + std::fabs(right))) return sign(det);
  return signQ((Quad(b.u) - a.u) * (Quad(c.v) - a.v) - (Quad(b.v) - a.v) * (Quad(c.u) - a.u));
}

bool onSegment(P2 a, P2 b, P2 p) {  // p collinear with a, b
  return std::fmin(a.u, b.u) <= p.u && p.u <= std::fmax(a.u, b.u) && std::fmin(a.v, b.v) <= p.v &&
         p.v <= std::fmax(a.v, b.v);
}

// Closed segments ab and cd share a point.
bool segmentsMeet(P2 a, P2 b, P2 c, P2 d) {
  int d1 = orient2d(c, d, a), d2 = orient2d(c, d, b);
  int d3 = orient2d(a, b, c), d4 = orient2d(a, b, d);
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) ||
         (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

// p inside or on the boundary of triangle t (either winding).
bool insideTriangle(const P2 t[3], P2 p) {
  int s0 = orient2d(t[0], t[1], p), s1 = orient2d(t[1], t[2], p), s2 = orient2d(t[2], t[0], p);
  return !((s0 < 0 || s1 < 0 || s2 < 0) && (s0 > 0 || s1 > 0 || s2 > 0));
}

// Both triangles lie in the plane with normal n: drop n's largest axis and
// test in 2D. They meet when two edges meet or one holds a corner of the other.
bool coplanarIntersect(const D3 a[3], const D3 b[3], D3 n) {
  double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  P2 pa[3], pb[3];
  for (int i = 0; i < 3; ++i) {
    if (ax >= ay && ax >= az) {
      pa[i] = {a[i].y, a[i].z};
      pb[i] = {b[i].y, b[i].z};
    } else if (ay >= az) {
      pa[i] = {a[i].z, a[i].x};
      pb[i] = {b[i].z, b[i].x};
    } else {
      pa[i] = {a[i].x, a[i].y};
      pb[i] = {b[i].x, b[i].y};
    }
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (segmentsMeet(pa[i], pa[(i + 1) % 3], pb[j], pb[(j + 1) % 3])) return true;
  return insideTriangle(pb, pa[0]) || insideTriangle(pa, pb[0]);
}

// The corner of a triangle that lies alone on its side of the other's plane,
// given the corners' signs (not all equal and strict, not all zero). A corner
// on the plane whose two partners share a strict side counts as the lone one,
// on the other side. Returns its index; `positive` tells its side.
int loneCorner(const int s[3], bool& positive) {
  for (int i = 0; i < 3; ++i) {
    int j = (i + 1) % 3, k = (i + 2) % 3;
    if (s[i] > 0 && s[j] <= 0 && s[k] <= 0) return positive = true, i;
    if (s[i] < 0 && s[j] >= 0 && s[k] >= 0) return positive = false, i;
  }
  for (int i = 0; i < 3; ++i) {
    int j = (i + 1) % 3, k = (i + 2) % 3;
    if (s[i] == 0 && s[j] == s[k]) return positive = s[j] < 0, i;
  }
  return positive = true, 0;  // unreachable for valid signs
}

}  // namespace

// Zero-area triangles (collinear corners) meet nothing: in a closed mesh the
// triangles around them cover every point they hold.
bool trianglesIntersect(const Vec3 a[3], const Vec3 b[3]) {
  D3 p[3] = {toD3(a[0]), toD3(a[1]), toD3(a[2])};
  D3 q[3] = {toD3(b[0]), toD3(b[1]), toD3(b[2])};
  D3 nq = crossD(sub(q[1], q[0]), sub(q[2], q[0]));
  D3 np = crossD(sub(p[1], p[0]), sub(p[2], p[0]));
  if ((nq.x == 0 && nq.y == 0 && nq.z == 0) || (np.x == 0 && np.y == 0 && np.z == 0)) return false;

  int sp[3], sq[3];  // sides of p's corners against q's plane, and back
  for (int i = 0; i < 3; ++i) sp[i] = orient3d(q[0], q[1], q[2], p[i]);
  if (sp[0] == sp[1] && sp[1] == sp[2] && sp[0] != 0) return false;
  for (int i = 0; i < 3; ++i) sq[i] = orient3d(p[0], p[1], p[2], q[i]);
  if (sq[0] == sq[1] && sq[1] == sq[2] && sq[0] != 0) return false;
  if (sp[0] == 0 && sp[1] == 0 && sp[2] == 0) return coplanarIntersect(p, q, nq);
  if (sq[0] == 0 && sq[1] == 0 && sq[2] == 0) return coplanarIntersect(p, q, np);

  // Rotate each triangle so its lone corner comes first, then flip the
  // other's winding so that the lone corner lies on its plane's positive side.
  bool pPositive, qPositive;
  int i = loneCorner(sp, pPositive), j = loneCorner(sq, qPositive);
  D3 p1 = p[i], q1 = p[(i + 1) % 3], r1 = p[(i + 2) % 3];
  D3 p2 = q[j], q2 = q[(j + 1) % 3], r2 = q[(j + 2) % 3];
  if (!pPositive) std::swap(q2, r2);
  if (!qPositive) std::swap(q1, r1);
  // Each triangle cuts the planes' common line in an interval; the two
  // intervals overlap exactly when both determinants are not positive.
  return orient3d(p1, q1, p2, q2) <= 0 && orient3d(p1, r1, r2, p2) <= 0;
}
