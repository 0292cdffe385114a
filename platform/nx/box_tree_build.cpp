// Builds the box tree top-down: each node splits its triangles at the median
// of their centres along the longest side of the centres' bounds, so the tree
// is balanced (depth at most 1 + log2 of the leaf count) whatever the mesh.
#include <algorithm>
#include <cmath>

#include "platform/nx/box_tree_nodes.h"

namespace {

struct Bounds {
  Vec3 lo{INFINITY, INFINITY, INFINITY};
  Vec3 hi{-INFINITY, -INFINITY, -INFINITY};
  void add(Vec3 p) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
};

// The sort key of a centre: a NaN (from non-finite points) sorts as 0, so
// the median split always sees a consistent order.
float axisOf(Vec3 v, int axis) {
  float c = axis == 0 ? v.x : axis == 1 ? v.y : v.z;
  return c == c ? c : 0.0f;
}

struct Builder {
  const MeshGeometry& mesh;
  BoxTree& tree;
  std::vector<Vec3> centres;  // per triangle, three times its centroid

  void build(uint32_t node, uint32_t begin, uint32_t end) {
    Bounds box, mids;
    for (uint32_t k = begin; k < end; ++k) {
      const uint32_t* corner = &mesh.triangles[3 * tree.order[k]];
      for (int i = 0; i < 3; ++i) box.add(mesh.points[corner[i]]);
      mids.add(centres[tree.order[k]]);
    }
    BoxNode& n = tree.nodes[node];
    n.center = (box.lo + box.hi) * 0.5f;
    n.extent = (box.hi - box.lo) * 0.5f;
    if (end - begin <= kLeafTriangles) {
      n.index = begin;
      n.count = end - begin;
      return;
    }
    Vec3 size = mids.hi - mids.lo;
    int axis = size.x >= size.y && size.x >= size.z ? 0 : size.y >= size.z ? 1 : 2;
    uint32_t middle = begin + (end - begin) / 2;
    std::nth_element(tree.order.begin() + begin, tree.order.begin() + middle, tree.order.begin() + end,
                     [&](uint32_t s, uint32_t t) { return axisOf(centres[s], axis) < axisOf(centres[t], axis); });
    uint32_t first = static_cast<uint32_t>(tree.nodes.size());
    n.index = first;
    n.count = 0;
    tree.nodes.resize(first + 2);  // n is no longer valid past this line
    build(first, begin, middle);
    build(first + 1, middle, end);
  }
};

}  // namespace

BoxTree* buildBoxTree(const MeshGeometry& mesh) {
  BoxTree* tree = new BoxTree;
  uint32_t count = mesh.triangleCount();
  for (uint32_t index : mesh.triangles) {
    const Vec3 p = mesh.points[index];
    tree->reach = std::max({tree->reach, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  }
  if (count == 0) return tree;
  Builder builder{mesh, *tree, {}};
  builder.centres.resize(count);
  tree->order.resize(count);
  for (uint32_t t = 0; t < count; ++t) {
    const uint32_t* corner = &mesh.triangles[3 * t];
    builder.centres[t] = mesh.points[corner[0]] + mesh.points[corner[1]] + mesh.points[corner[2]];
    tree->order[t] = t;
  }
  tree->nodes.reserve(2 * (count / kLeafTriangles + 1));
  tree->nodes.resize(1);
  builder.build(0, 0, count);
  return tree;
}

void releaseBoxTree(BoxTree* tree) { delete tree; }
