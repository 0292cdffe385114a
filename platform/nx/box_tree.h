// The bounding-volume tree over a mesh's triangles, built once when the mesh
// is created, and the tree-against-tree query that tells whether two posed
// meshes' surfaces touch. Internal to the physics stand-in.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/nx/geometry.h"

struct BoxTree;  // defined by the tree's own files

// How much work a query did, for tests and benchmarks.
struct QueryCounters {
  uint64_t boxTests = 0;
  uint64_t triangleTests = 0;
};

// Builds the tree of `mesh`. The tree refers to the mesh's arrays, which
// must outlive it unchanged.
BoxTree* buildBoxTree(const MeshGeometry& mesh);

// True when some triangle of a (placed by poseA) and some triangle of b
// (placed by poseB) intersect, touching included. Stops at the first
// intersecting pair. `counters`, when given, are increased by the work done.
bool treesIntersect(const MeshGeometry& a, const BoxTree& treeA, const Pose& poseA,
                    const MeshGeometry& b, const BoxTree& treeB, const Pose& poseB,
                    QueryCounters* counters);

// Exact triangle-triangle intersection, touching and coplanar overlap
// included.
bool trianglesIntersect(const Vec3 a[3], const Vec3 b[3]);

// True when `point`, in the mesh's frame, lies inside the mesh's surface by
// the pmap's rule (solid_map.h): of the three rays along +x, +y and +z that
// reach it from beyond the mesh, at least two cross the surface an odd number
// of times. Exact, the crossings found through the tree; what a pmap cell
// centred on the point would say at any resolution.
bool pointInsideMesh(const MeshGeometry& mesh, const BoxTree& tree, Vec3 point, QueryCounters* counters);

// Frees a tree made by buildBoxTree.
void releaseBoxTree(BoxTree* tree);

// The answer treesIntersect gives, found by testing every triangle pair: the
// reference for tests and benchmarks. Both place b's triangles in a's frame
// the same way, so they agree exactly, round-off included.
bool meshesIntersectBruteForce(const MeshGeometry& a, const Pose& poseA, const MeshGeometry& b,
                               const Pose& poseB, QueryCounters* counters);
