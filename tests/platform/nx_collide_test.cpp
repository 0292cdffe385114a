// The collision core: the triangle test against a slow reference written
// another way, and the tree query against brute force on the game's meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/nx/box_tree.h"
#include "platform/nx/box_tree_nodes.h"
#include "tools/model_triangles.h"
#include "tools/models.h"

namespace {

// ---- Reference: segments against triangles, in double, with divisions ----

struct V {
  double x, y, z;
};
V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V operator*(V a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dotV(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V crossV(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Closed segment s0 s1 against the closed triangle t. A segment in the
// triangle's plane is clipped against the three inward half-planes.
bool segmentHitsTriangle(V s0, V s1, const V t[3]) {
  V n = crossV(t[1] - t[0], t[2] - t[0]);
  double d0 = dotV(n, s0 - t[0]), d1 = dotV(n, s1 - t[0]);
  if (d0 * d1 > 0) return false;
  if (d0 == 0 && d1 == 0) {
    double lo = 0, hi = 1;
    for (int i = 0; i < 3; ++i) {
      V inward = crossV(n, t[(i + 1) % 3] - t[i]);
      double f0 = dotV(inward, s0 - t[i]), df = dotV(inward, s1 - s0);
      if (df == 0) {
        if (f0 < 0) return false;
      } else if (df > 0) {
        lo = std::max(lo, -f0 / df);
      } else {
        hi = std::min(hi, -f0 / df);
      }
    }
    return lo <= hi;
  }
  V x = s0 + (s1 - s0) * (d0 / (d0 - d1));
  for (int i = 0; i < 3; ++i)
    if (dotV(crossV(t[(i + 1) % 3] - t[i], x - t[i]), n) < 0) return false;
  return true;
}

bool referenceIntersect(const Vec3 a[3], const Vec3 b[3]) {
  V p[3], q[3];
  for (int i = 0; i < 3; ++i) {
    p[i] = {a[i].x, a[i].y, a[i].z};
    q[i] = {b[i].x, b[i].y, b[i].z};
  }
  for (int i = 0; i < 3; ++i)
    if (segmentHitsTriangle(p[i], p[(i + 1) % 3], q) || segmentHitsTriangle(q[i], q[(i + 1) % 3], p))
      return true;
  return false;
}

// Both tests, under every corner order of both triangles, both argument
// orders and exact changes of axes (cyclic swaps, a mirror).
void expectEverywhere(const Vec3 a0[3], const Vec3 b0[3], bool expected, const char* name) {
  for (int axes = 0; axes < 4; ++axes) {
    Vec3 a[3], b[3];
    for (int i = 0; i < 3; ++i) {
      a[i] = a0[i];
      b[i] = b0[i];
      for (int k = 0; k < axes && k < 3; ++k) {
        a[i] = {a[i].y, a[i].z, a[i].x};
        b[i] = {b[i].y, b[i].z, b[i].x};
      }
      if (axes == 3) {
        a[i].x = -a[i].x;
        b[i].x = -b[i].x;
      }
    }
    for (int order = 0; order < 6; ++order) {
      int r = order % 3;
      bool flip = order >= 3;
      Vec3 pa[3], pb[3];
      for (int i = 0; i < 3; ++i) {
        int k = flip ? (3 + r - i) % 3 : (r + i) % 3;
        pa[i] = a[k];
        pb[i] = b[(k + 1) % 3];
      }
      EXPECT_EQ(trianglesIntersect(pa, pb), expected) << name << " axes " << axes << " order " << order;
      EXPECT_EQ(trianglesIntersect(pb, pa), expected) << name << " swapped, axes " << axes;
      EXPECT_EQ(referenceIntersect(pa, pb), expected) << name << " reference";
    }
  }
}

TEST(TriangleTriangle, HandMadeCases) {
  const Vec3 base[3] = {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}};  // in z = 0, hypotenuse x + y = 2
  struct Case {
    const char* name;
    Vec3 other[3];
    bool touching;
  } cases[] = {
      {"crossing", {{0.5f, 0.5f, -1}, {0.5f, 0.5f, 1}, {3, 3, 0.5f}}, true},
      {"piercing through the face", {{0.5f, 0.25f, -1}, {0.25f, 0.5f, 1}, {-2, -2, 1}}, true},
      {"corner on an edge", {{1, 0, 0}, {1, -1, 1}, {2, -1, 1}}, true},
      {"corner just off an edge", {{1, -0.0001f, 0}, {1, -1, 1}, {2, -1, 1}}, false},
      {"corner on a corner", {{0, 0, 0}, {-1, -1, 1}, {1, -1, 1}}, true},
      {"corner inside the face", {{0.5f, 0.5f, 0}, {0, 0, 1}, {1, 0, 1}}, true},
      {"edge across an edge", {{1, -1, 0}, {1, 1, 0}, {1, 0, -1}}, true},
      {"edge on an edge, apart", {{3, 0, 0}, {4, 0, 0}, {3, 0, 1}}, false},
      {"edges skew by a hair", {{1, -1, 0.0001f}, {1, 1, 0.0001f}, {1, 0, 1}}, false},
      {"coplanar overlap", {{0.5f, 0.5f, 0}, {3, 0.5f, 0}, {0.5f, 3, 0}}, true},
      {"coplanar inside", {{0.25f, 0.25f, 0}, {0.5f, 0.25f, 0}, {0.25f, 0.5f, 0}}, true},
      {"coplanar corner on the hypotenuse", {{1, 1, 0}, {3, 1, 0}, {1, 3, 0}}, true},
      {"coplanar shared edge", {{2, 0, 0}, {0, 2, 0}, {2, 2, 0}}, true},
      {"coplanar apart", {{2, 2, 0}, {3, 2, 0}, {2, 3, 0}}, false},
      {"coplanar apart along an edge line", {{2.5f, 0, 0}, {4, 0, 0}, {3, -1, 0}}, false},
      {"parallel apart", {{0, 0, 1}, {2, 0, 1}, {0, 2, 1}}, false},
      {"plane cut but apart", {{3, 3, -1}, {3, 3, 1}, {4, 2, 0}}, false},
  };
  for (const Case& c : cases) expectEverywhere(base, c.other, c.touching, c.name);
  const Vec3 line[3] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};  // zero area
  EXPECT_FALSE(trianglesIntersect(base, line));
  EXPECT_FALSE(trianglesIntersect(line, base));
}

TEST(TriangleTriangle, RandomAgainstReference) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> unit(0, 1);
  auto point = [&] { return Vec3{unit(rng), unit(rng), unit(rng)}; };
  int seen[2] = {0, 0};
  for (int n = 0; n < 60000; ++n) {
    Vec3 a[3] = {point(), point(), point()}, b[3] = {point(), point(), point()};
    int kind = n % 3;
    if (kind == 1) b[n % 2] = a[(n / 2) % 3];  // a shared corner: always touching
    if (kind == 2) {                          // one plane z = c
      float z = a[0].z;
      for (int i = 0; i < 3; ++i) a[i].z = b[i].z = z;
    }
    bool expected = referenceIntersect(a, b);
    ASSERT_EQ(trianglesIntersect(a, b), expected) << "case " << n;
    if (kind == 1) {
      ASSERT_TRUE(expected);
    }
    ++seen[expected];
  }
  EXPECT_GT(seen[0], 10000);
  EXPECT_GT(seen[1], 10000);
}

// ---- The tree against brute force on the game's meshes ----

MeshGeometry geometryOf(const TdsModel& model) {
  ModelTriangles soup = modelTriangles(model);
  return meshFromArrays(soup.points.data(), soup.points.size() / 3, soup.triangles.data(),
                        soup.triangles.size() / 3);
}

Pose randomPose(std::mt19937& rng, Vec3 t) {
  std::normal_distribution<float> g;
  float w = g(rng), x = g(rng), y = g(rng), z = g(rng);
  float s = 1 / std::sqrt(w * w + x * x + y * y + z * z);
  w *= s, x *= s, y *= s, z *= s;
  return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
           {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
           {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}},
          t};
}

struct Shape {
  MeshGeometry mesh;
  BoxTree* tree;
};

// Checks the tree against brute force (with a then b, and b then a) and
// returns the answer; the counters add up the tree's work and brute force's.
bool agreed(const Shape& a, const Pose& pa, const Shape& b, const Pose& pb, QueryCounters& tree,
            QueryCounters& brute) {
  bool expected = meshesIntersectBruteForce(a.mesh, pa, b.mesh, pb, &brute);
  bool first = treesIntersect(a.mesh, *a.tree, pa, b.mesh, *b.tree, pb, &tree);
  EXPECT_EQ(first, expected);
  EXPECT_EQ(treesIntersect(a.mesh, *a.tree, pa, b.mesh, *b.tree, pb, nullptr), first) << "repeat";
  QueryCounters swapped;
  EXPECT_EQ(treesIntersect(b.mesh, *b.tree, pb, a.mesh, *a.tree, pa, &swapped),
            meshesIntersectBruteForce(b.mesh, pb, a.mesh, pa, nullptr));
  return expected;
}

TEST(BoxTree, MatchesBruteForceOnRandomPoses) {
  Shape fighter{geometryOf(makeFighter()), nullptr}, planet{geometryOf(makePluto()), nullptr};
  fighter.tree = buildBoxTree(fighter.mesh);
  planet.tree = buildBoxTree(planet.mesh);
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> unit(-1, 1);
  QueryCounters tree, brute;
  int answers[2] = {0, 0};
  for (int n = 0; n < 10; ++n) {
    Pose pp = randomPose(rng, {unit(rng) * 5, unit(rng) * 5, unit(rng) * 5});
    Vec3 d = {unit(rng), unit(rng), unit(rng)};
    d = d * (1 / std::sqrt(dot(d, d)));
    Pose pf = randomPose(rng, {0, 0, 0});
    Vec3 centre = transformPoint(pf, fighter.tree->nodes[0].center);
    // Along d from the planet's centre (radius 40), find where the fighter
    // stops touching to the last float: the tree must agree on both sides.
    float in = 40, out = 44;
    for (int step = 0; step < 60; ++step) {
      float mid = 0.5f * (in + out);
      if (mid == in || mid == out) break;
      pf.t = pp.t + d * mid - centre;
      (treesIntersect(planet.mesh, *planet.tree, pp, fighter.mesh, *fighter.tree, pf, nullptr) ? in : out) = mid;
    }
    for (float s : {in, out, in - 0.3f, out + 0.05f, out + 5.0f}) {
      pf.t = pp.t + d * s - centre;
      ++answers[agreed(fighter, pf, planet, pp, tree, brute)];
    }
  }
  EXPECT_GE(answers[0], 25);  // mostly three apart and two touching per line
  EXPECT_GE(answers[1], 15);
  // Fighter against fighter: two meshes of small triangles crossing.
  int crossing = 0;
  for (int n = 0; n < 40; ++n) {
    Pose p1 = randomPose(rng, {0, 0, 0}), p2 = randomPose(rng, {0, 0, 0});
    Vec3 offset = {unit(rng) * 0.6f, unit(rng) * 0.6f, unit(rng) * 0.6f};
    p1.t = p1.t - transformPoint(p1, fighter.tree->nodes[0].center);
    p2.t = p2.t + offset - transformPoint(p2, fighter.tree->nodes[0].center);
    crossing += agreed(fighter, p1, fighter, p2, tree, brute);
  }
  EXPECT_GE(crossing, 20);
  // The tree prunes: a small share of brute force's triangle tests.
  EXPECT_LT(tree.triangleTests * 50, brute.triangleTests);
  EXPECT_LT(tree.boxTests * 10, brute.triangleTests);
  releaseBoxTree(fighter.tree);
  releaseBoxTree(planet.tree);
}

TEST(BoxTree, BalancedAndEnclosing) {
  MeshGeometry mesh = geometryOf(makeFighter());
  BoxTree* tree = buildBoxTree(mesh);
  std::vector<int> seen(mesh.triangleCount(), 0);
  std::vector<int> depth(tree->nodes.size(), 1);
  int deepest = 0;
  auto contains = [](const BoxNode& n, Vec3 p) {
    Vec3 d = p - n.center;
    return std::fabs(d.x) <= n.extent.x * 1.0001f + 1e-6f && std::fabs(d.y) <= n.extent.y * 1.0001f + 1e-6f &&
           std::fabs(d.z) <= n.extent.z * 1.0001f + 1e-6f;
  };
  for (size_t i = 0; i < tree->nodes.size(); ++i) {
    const BoxNode& n = tree->nodes[i];
    deepest = std::max(deepest, depth[i]);
    if (n.count == 0) {
      ASSERT_LT(n.index + 1, tree->nodes.size());
      for (uint32_t c : {n.index, n.index + 1}) {
        depth[c] = depth[i] + 1;
        const BoxNode& child = tree->nodes[c];
        EXPECT_TRUE(contains(n, child.center + child.extent) && contains(n, child.center - child.extent));
      }
      continue;
    }
    EXPECT_LE(n.count, kLeafTriangles);
    for (uint32_t k = n.index; k < n.index + n.count; ++k) {
      ++seen[tree->order[k]];
      for (int c = 0; c < 3; ++c) EXPECT_TRUE(contains(n, mesh.points[mesh.triangles[3 * tree->order[k] + c]]));
    }
  }
  for (int s : seen) EXPECT_EQ(s, 1);
  EXPECT_LE(deepest, 2 + static_cast<int>(std::log2(mesh.triangleCount())));
  releaseBoxTree(tree);

  MeshGeometry empty;
  BoxTree* none = buildBoxTree(empty);
  Pose identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};
  EXPECT_FALSE(treesIntersect(empty, *none, identity, empty, *none, identity, nullptr));
  releaseBoxTree(none);
}

}  // namespace
