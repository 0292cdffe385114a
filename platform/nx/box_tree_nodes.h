// The box tree's layout, shared by its build and its query: an array of
// axis-aligned boxes in the mesh's own frame, the root first, the two
// children of a node side by side. Internal to the physics stand-in.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/nx/box_tree.h"

// Most triangles a leaf holds.
constexpr uint32_t kLeafTriangles = 4;

struct BoxNode {
  Vec3 center;
  Vec3 extent;     // half sizes
  uint32_t index;  // inner node: its first child, the second follows; leaf: its first entry in order
  uint32_t count;  // triangles of a leaf; 0 for an inner node
};

struct BoxTree {
  std::vector<BoxNode> nodes;   // empty when the mesh has no triangles
  std::vector<uint32_t> order;  // triangle numbers, leaf after leaf
  float reach = 0;              // largest |coordinate| of a corner: the scale of its round-off
};
