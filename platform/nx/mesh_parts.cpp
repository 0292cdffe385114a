// The connected parts of a mesh's surface, for the deep-penetration test.
#include <algorithm>
#include <numeric>

#include "platform/nx/geometry.h"

namespace {

uint32_t root(std::vector<uint32_t>& parent, uint32_t v) {
  while (parent[v] != v) v = parent[v] = parent[parent[v]];
  return v;
}

void join(std::vector<uint32_t>& parent, uint32_t a, uint32_t b) {
  a = root(parent, a);
  b = root(parent, b);
  // The smaller index stays the root, so each part is named by its first vertex.
  if (a < b) parent[b] = a;
  if (b < a) parent[a] = b;
}

// -0 and +0 are one position.
bool samePosition(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool lowerPosition(Vec3 a, Vec3 b) {
  if (a.x != b.x) return a.x < b.x;
  if (a.y != b.y) return a.y < b.y;
  return a.z < b.z;
}

}  // namespace

std::vector<uint32_t> meshPartVertices(const MeshGeometry& mesh) {
  const uint32_t n = static_cast<uint32_t>(mesh.points.size());
  std::vector<uint32_t> parent(n);
  std::iota(parent.begin(), parent.end(), 0u);
  std::vector<bool> used(n, false);
  for (size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
    const uint32_t a = mesh.triangles[t], b = mesh.triangles[t + 1], c = mesh.triangles[t + 2];
    used[a] = used[b] = used[c] = true;
    join(parent, a, b);
    join(parent, a, c);
  }
  // Vertices at one position join their parts: a seam of duplicated vertices
  // (texture seams, separately saved faces) is still one surface.
  std::vector<uint32_t> order;
  for (uint32_t v = 0; v < n; ++v)
    if (used[v]) order.push_back(v);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return lowerPosition(mesh.points[a], mesh.points[b]); });
  for (size_t k = 1; k < order.size(); ++k)
    if (samePosition(mesh.points[order[k - 1]], mesh.points[order[k]])) join(parent, order[k - 1], order[k]);

  std::vector<uint32_t> first;
  for (uint32_t v = 0; v < n; ++v)
    if (used[v] && root(parent, v) == v) first.push_back(v);
  return first;
}
