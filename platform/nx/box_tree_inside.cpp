// The exact inside test: rays along the axes, their crossings with the mesh
// counted through the box tree by the pmap's own rule (see solid_map.h), so
// a point answers exactly as the centre of a pmap cell at the same place
// would.
#include <cmath>

#include "platform/nx/box_tree_nodes.h"
#include "platform/nx/ray_crossing.h"

namespace {

// Deep enough for a balanced tree of any size the indices can count.
constexpr int kStackSize = 80;

// True when the ray along +`axis` that reaches `point` from beyond the mesh
// crosses its surface an odd number of times before it (a crossing at the
// point itself does not count).
bool oddCrossings(const MeshGeometry& mesh, const BoxTree& tree, Vec3 point, int axis, float tol,
                  QueryCounters& counters) {
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  const float pu = axisComponent(point, u), pv = axisComponent(point, v), pt = axisComponent(point, axis);
  bool odd = false;
  uint32_t stack[kStackSize];
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const BoxNode& n = tree.nodes[stack[--top]];
    ++counters.boxTests;
    // The box must reach across the ray's line, and start before the point.
    if (std::fabs(pu - axisComponent(n.center, u)) > axisComponent(n.extent, u) + tol ||
        std::fabs(pv - axisComponent(n.center, v)) > axisComponent(n.extent, v) + tol ||
        axisComponent(n.center, axis) - axisComponent(n.extent, axis) > pt + tol)
      continue;
    if (n.count == 0) {
      stack[top++] = n.index;
      stack[top++] = n.index + 1;
      continue;
    }
    for (uint32_t k = n.index; k < n.index + n.count; ++k) {
      const uint32_t* c = &mesh.triangles[3 * size_t(tree.order[k])];
      const Vec3 a = mesh.points[c[0]], b = mesh.points[c[1]], d = mesh.points[c[2]];
      ++counters.triangleTests;
      if (seenEdgeOn(axis, a, b, d)) continue;
      float at;
      if (!rayCrossing(double(axisComponent(a, u)) - pu, double(axisComponent(a, v)) - pv,
                       double(axisComponent(b, u)) - pu, double(axisComponent(b, v)) - pv,
                       double(axisComponent(d, u)) - pu, double(axisComponent(d, v)) - pv, axisComponent(a, axis),
                       axisComponent(b, axis), axisComponent(d, axis), at))
        continue;
      if (at < pt) odd = !odd;
    }
  }
  return odd;
}

}  // namespace

bool pointInsideMesh(const MeshGeometry& mesh, const BoxTree& tree, Vec3 point, QueryCounters* counters) {
  if (tree.nodes.empty()) return false;
  QueryCounters work;
  // The boxes' centres and half sizes are rounded from the corners: grown by
  // more than that round-off, they never miss a triangle the ray crosses.
  const float tol = 1e-6f * tree.reach + 1e-30f;
  bool inside = oddCrossings(mesh, tree, point, 0, tol, work);
  // Two rays of three decide; the third only when the first two disagree (a
  // hole in an open mesh).
  if (oddCrossings(mesh, tree, point, 1, tol, work) != inside) {
    inside = oddCrossings(mesh, tree, point, 2, tol, work);
  }
  if (counters) {
    counters->boxTests += work.boxTests;
    counters->triangleTests += work.triangleTests;
  }
  return inside;
}
