// The tree-against-tree query. Both trees keep their boxes in their own mesh's
// frame; b's pose in a's frame is computed once, and so are its rotation's
// absolute values, which every box-box separating-axis test reuses. The
// descent splits the larger node of a pair; once a leaf is the larger, its
// few triangles go down the other tree alone, each tested against boxes.
//
// Every box test is conservative: boxes grow by a tolerance proportional to
// the coordinates' size, larger than the round-off of the transforms, so a
// triangle pair the exact triangle test reports is never pruned. The triangle
// test always sees a's triangle as stored and b's triangle placed in a's
// frame by transformPoint, as the brute-force reference does.
#include <algorithm>
#include <cmath>

#include "platform/nx/box_tree_nodes.h"

namespace {

// Deep enough for two balanced trees of any size the indices can count.
constexpr int kStackSize = 160;

// A triangle placed in the frame of the tree it is tested against, with what
// the triangle-box test needs.
struct PlacedTriangle {
  Vec3 v[3];
  Vec3 lo, hi;
  Vec3 normal;
  float normalSize;  // |x| + |y| + |z| of the normal, at least its length
};

void triangleBounds(const Vec3 v[3], Vec3& lo, Vec3& hi) {
  lo = {std::min({v[0].x, v[1].x, v[2].x}), std::min({v[0].y, v[1].y, v[2].y}),
        std::min({v[0].z, v[1].z, v[2].z})};
  hi = {std::max({v[0].x, v[1].x, v[2].x}), std::max({v[0].y, v[1].y, v[2].y}),
        std::max({v[0].z, v[1].z, v[2].z})};
}

PlacedTriangle place(const Pose& pose, const Vec3 p[3]) {
  PlacedTriangle t;
  for (int i = 0; i < 3; ++i) t.v[i] = transformPoint(pose, p[i]);
  triangleBounds(t.v, t.lo, t.hi);
  t.normal = cross(t.v[1] - t.v[0], t.v[2] - t.v[0]);
  t.normalSize = std::fabs(t.normal.x) + std::fabs(t.normal.y) + std::fabs(t.normal.z);
  return t;
}

void corners(const MeshGeometry& mesh, uint32_t triangle, Vec3 out[3]) {
  const uint32_t* c = &mesh.triangles[3 * triangle];
  out[0] = mesh.points[c[0]];
  out[1] = mesh.points[c[1]];
  out[2] = mesh.points[c[2]];
}

bool boundsOverlap(Vec3 lo1, Vec3 hi1, Vec3 lo2, Vec3 hi2) {
  return lo1.x <= hi2.x && lo2.x <= hi1.x && lo1.y <= hi2.y && lo2.y <= hi1.y && lo1.z <= hi2.z &&
         lo2.z <= hi1.z;
}

// The triangle's bounds and its plane against the box grown by `tol`.
bool triangleTouchesBox(const PlacedTriangle& t, const BoxNode& n, float tol) {
  Vec3 grow = n.extent + Vec3{tol, tol, tol};
  if (!boundsOverlap(t.lo, t.hi, n.center - grow, n.center + grow)) return false;
  float reach = n.extent.x * std::fabs(t.normal.x) + n.extent.y * std::fabs(t.normal.y) +
                n.extent.z * std::fabs(t.normal.z);
  return std::fabs(dot(t.normal, t.v[0] - n.center)) <= reach + tol * t.normalSize;
}

struct Query {
  const MeshGeometry& a;
  const BoxTree& ta;
  const MeshGeometry& b;
  const BoxTree& tb;
  Pose bInA;     // places b's points in a's frame
  Pose aInB;     // its inverse, for pruning only
  float absR[3][3];
  float tol;
  uint64_t boxTests = 0;
  uint64_t triangleTests = 0;

  // Boxes na (a's frame) and nb (b's frame) share a point, up to tol: the 15
  // separating axes, the cheapest first, stopping at the first that separates.
  bool boxesOverlap(const BoxNode& na, const BoxNode& nb) {
    ++boxTests;
    const float(*R)[3] = bInA.R;
    const float(*Q)[3] = absR;
    Vec3 c = transformPoint(bInA, nb.center) - na.center;
    const float T[3] = {c.x, c.y, c.z};
    const float ea[3] = {na.extent.x, na.extent.y, na.extent.z};
    const float eb[3] = {nb.extent.x, nb.extent.y, nb.extent.z};
    for (int i = 0; i < 3; ++i)
      if (std::fabs(T[i]) > ea[i] + Q[i][0] * eb[0] + Q[i][1] * eb[1] + Q[i][2] * eb[2] + tol) return false;
    for (int j = 0; j < 3; ++j) {
      float d = T[0] * R[0][j] + T[1] * R[1][j] + T[2] * R[2][j];
      if (std::fabs(d) > eb[j] + Q[0][j] * ea[0] + Q[1][j] * ea[1] + Q[2][j] * ea[2] + tol) return false;
    }
    // Axis (a's axis i) x (b's axis j); its length is at most 1, so tol
    // still covers the round-off.
    for (int i = 0; i < 3; ++i) {
      int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
      for (int j = 0; j < 3; ++j) {
        int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
        float d = T[i2] * R[i1][j] - T[i1] * R[i2][j];
        float r = ea[i1] * Q[i2][j] + ea[i2] * Q[i1][j] + eb[j1] * Q[i][j2] + eb[j2] * Q[i][j1];
        if (std::fabs(d) > r + tol) return false;
      }
    }
    return true;
  }

  bool trianglePair(const Vec3 triangleA[3], const PlacedTriangle& placedB) {
    Vec3 lo, hi;
    triangleBounds(triangleA, lo, hi);
    // Disjoint bounds of the very coordinates the triangle test reads rule
    // the pair out exactly.
    if (!boundsOverlap(lo, hi, placedB.lo, placedB.hi)) return false;
    ++triangleTests;
    return trianglesIntersect(triangleA, placedB.v);
  }

  // b's triangle (placed in a's frame) against a's subtree at `root`.
  bool triangleBAgainstA(const PlacedTriangle& placedB, uint32_t root) {
    uint32_t stack[kStackSize];
    int top = 0;
    stack[top++] = root;
    while (top > 0) {
      const BoxNode& n = ta.nodes[stack[--top]];
      ++boxTests;
      if (!triangleTouchesBox(placedB, n, tol)) continue;
      if (n.count == 0) {
        stack[top++] = n.index;
        stack[top++] = n.index + 1;
        continue;
      }
      for (uint32_t k = n.index; k < n.index + n.count; ++k) {
        Vec3 triangleA[3];
        corners(a, ta.order[k], triangleA);
        if (trianglePair(triangleA, placedB)) return true;
      }
    }
    return false;
  }

  // a's triangle against b's subtree at `root`: pruned with the triangle
  // placed in b's frame, decided with b's triangles placed in a's.
  bool triangleAAgainstB(const Vec3 triangleA[3], uint32_t root) {
    PlacedTriangle inB = place(aInB, triangleA);
    uint32_t stack[kStackSize];
    int top = 0;
    stack[top++] = root;
    while (top > 0) {
      const BoxNode& n = tb.nodes[stack[--top]];
      ++boxTests;
      if (!triangleTouchesBox(inB, n, tol)) continue;
      if (n.count == 0) {
        stack[top++] = n.index;
        stack[top++] = n.index + 1;
        continue;
      }
      for (uint32_t k = n.index; k < n.index + n.count; ++k) {
        Vec3 triangleB[3];
        corners(b, tb.order[k], triangleB);
        if (trianglePair(triangleA, place(bInA, triangleB))) return true;
      }
    }
    return false;
  }

  bool leafOfBAgainstA(const BoxNode& leafB, uint32_t nodeA) {
    for (uint32_t k = leafB.index; k < leafB.index + leafB.count; ++k) {
      Vec3 triangleB[3];
      corners(b, tb.order[k], triangleB);
      if (triangleBAgainstA(place(bInA, triangleB), nodeA)) return true;
    }
    return false;
  }

  bool leafOfAAgainstB(const BoxNode& leafA, uint32_t nodeB) {
    for (uint32_t k = leafA.index; k < leafA.index + leafA.count; ++k) {
      Vec3 triangleA[3];
      corners(a, ta.order[k], triangleA);
      if (triangleAAgainstB(triangleA, nodeB)) return true;
    }
    return false;
  }

  bool run() {
    uint32_t stack[kStackSize][2];
    int top = 0;
    stack[top][0] = 0;
    stack[top++][1] = 0;
    while (top > 0) {
      --top;
      uint32_t ia = stack[top][0], ib = stack[top][1];
      const BoxNode& na = ta.nodes[ia];
      const BoxNode& nb = tb.nodes[ib];
      if (!boxesOverlap(na, nb)) continue;
      float sizeA = na.extent.x + na.extent.y + na.extent.z;
      float sizeB = nb.extent.x + nb.extent.y + nb.extent.z;
      bool splitA;
      if (na.count != 0 && nb.count != 0) {
        if (leafOfBAgainstA(nb, ia)) return true;
        continue;
      } else if (na.count != 0) {
        if (sizeA >= sizeB) {
          if (leafOfAAgainstB(na, ib)) return true;
          continue;
        }
        splitA = false;
      } else if (nb.count != 0) {
        if (sizeB > sizeA) {
          if (leafOfBAgainstA(nb, ia)) return true;
          continue;
        }
        splitA = true;
      } else {
        splitA = sizeA >= sizeB;
      }
      if (splitA) {
        stack[top][0] = na.index;
        stack[top++][1] = ib;
        stack[top][0] = na.index + 1;
        stack[top++][1] = ib;
      } else {
        stack[top][0] = ia;
        stack[top++][1] = nb.index;
        stack[top][0] = ia;
        stack[top++][1] = nb.index + 1;
      }
    }
    return false;
  }
};

// Larger than the round-off of placing points and box centres, whose size
// grows with the coordinates: translation plus each mesh's reach.
float tolerance(const BoxTree& ta, const BoxTree& tb, const Pose& bInA) {
  float scale = std::fabs(bInA.t.x) + std::fabs(bInA.t.y) + std::fabs(bInA.t.z) + ta.reach + tb.reach;
  return 1e-5f * scale + 1e-30f;
}

}  // namespace

bool treesIntersect(const MeshGeometry& a, const BoxTree& treeA, const Pose& poseA,
                    const MeshGeometry& b, const BoxTree& treeB, const Pose& poseB,
                    QueryCounters* counters) {
  if (treeA.nodes.empty() || treeB.nodes.empty()) return false;
  Query q{a, treeA, b, treeB, relativePose(poseA, poseB), relativePose(poseB, poseA), {}, 0};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) q.absR[i][j] = std::fabs(q.bInA.R[i][j]) + 1e-6f;
  q.tol = tolerance(treeA, treeB, q.bInA);
  bool hit = q.run();
  if (counters) {
    counters->boxTests += q.boxTests;
    counters->triangleTests += q.triangleTests;
  }
  return hit;
}

bool meshesIntersectBruteForce(const MeshGeometry& a, const Pose& poseA, const MeshGeometry& b,
                               const Pose& poseB, QueryCounters* counters) {
  Pose bInA = relativePose(poseA, poseB);
  std::vector<Vec3> placed(3 * b.triangleCount());
  for (uint32_t t = 0; t < b.triangleCount(); ++t) {
    Vec3 triangleB[3];
    corners(b, t, triangleB);
    for (int i = 0; i < 3; ++i) placed[3 * t + i] = transformPoint(bInA, triangleB[i]);
  }
  for (uint32_t s = 0; s < a.triangleCount(); ++s) {
    Vec3 triangleA[3];
    corners(a, s, triangleA);
    for (uint32_t t = 0; t < b.triangleCount(); ++t) {
      if (counters) ++counters->triangleTests;
      if (trianglesIntersect(triangleA, &placed[3 * t])) return true;
    }
  }
  return false;
}
