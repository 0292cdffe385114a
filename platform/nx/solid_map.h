// The pmap: a solid voxel map of a mesh, one bit per cell saying whether the
// cell's centre lies inside the mesh's surface, over the mesh's bounds; and
// its self-describing byte block. Internal to the physics stand-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/nx/geometry.h"

struct SolidMap {
  uint32_t resolution = 0;  // cells along each axis; 0: no map
  Vec3 boundsMin{0, 0, 0};
  Vec3 boundsMax{0, 0, 0};
  std::vector<uint8_t> bits;  // resolution^3 bits, x fastest, then y, then z
};

// A fingerprint of the mesh's points and triangles, stored in the block so
// that a block made for another mesh is refused.
uint64_t meshFingerprint(const MeshGeometry& mesh);

// Builds the map of `mesh` at `resolution` cells per axis. False when the
// mesh has no triangles or the resolution is out of range (1 to 1024).
bool buildSolidMap(const MeshGeometry& mesh, uint32_t resolution, SolidMap& map);

// The block's bytes: header (magic, version, resolution, bounds, fingerprint)
// then the bits.
std::vector<uint8_t> encodeSolidMap(const SolidMap& map, uint64_t fingerprint);

// Reads a block; false, leaving `map` untouched, unless the block is whole,
// consistent and made for the mesh with `fingerprint`. Safe on any bytes.
bool decodeSolidMap(const void* data, size_t size, uint64_t fingerprint, SolidMap& map);

// True when the point, in the mesh's own frame, falls in a solid cell.
// Points outside the bounds are outside.
bool solidMapContains(const SolidMap& map, Vec3 point);
