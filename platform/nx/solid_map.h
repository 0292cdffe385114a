// The pmap: a solid voxel map of a mesh, one bit per cell saying whether the
// cell's centre lies inside the mesh's surface, over the mesh's bounds; and
// its self-describing byte block. Internal to the physics stand-in.
//
// A cell is solid when at least two of the three rays that reach its centre
// along +x, +y and +z from beyond the mesh cross the surface an odd number of
// times on the way (a crossing exactly at the centre does not count). On a
// closed surface the three always agree, so this is exactly "inside"; on an
// open one (a missing face, a hole) the ray leaking through the gap is
// outvoted by the two others. Parity means the overlap of two closed parts
// of one mesh counts as outside.
//
// Crossings are counted exactly: a ray through an edge or a vertex crosses
// once, as if it were moved by an infinitely small step off it, so a closed
// surface never leaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/nx/geometry.h"

const uint32_t kSolidMapMaxResolution = 1024;

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
// mesh has no triangles or the resolution is out of range (1 to 1024), and
// also, `map` untouched, for a corner that is not finite or an index past the
// points. The bounds are those of the triangles' corners (points no triangle
// uses do not count), padded by half a cell on every side.
bool buildSolidMap(const MeshGeometry& mesh, uint32_t resolution, SolidMap& map);

// Builds the map over the given bounds (finite, boundsMin below boundsMax on
// every axis) instead of the mesh's own; for tests that place cell centres on
// chosen points. Parts of the mesh outside the bounds still count as surface
// for the rays.
bool buildSolidMapInBounds(const MeshGeometry& mesh, uint32_t resolution, Vec3 boundsMin,
                           Vec3 boundsMax, SolidMap& map);

// The map of the rays along one axis alone (0 x, 1 y, 2 z), over the given
// bounds: a cell is solid when its ray crosses the surface an odd number of
// times. For tests of the crossing rule, which the majority would hide.
bool buildParityMap(const MeshGeometry& mesh, uint32_t resolution, Vec3 boundsMin, Vec3 boundsMax,
                    int axis, SolidMap& map);

// The block's bytes, little-endian:
//   0  magic "VPMP"            4  format version (1)
//   8  resolution             12  boundsMin x, y, z; boundsMax x, y, z (floats)
//  36  mesh fingerprint       44  checksum (FNV-1a 64 of every other byte)
//  52  the bits, ceil(resolution^3 / 8) bytes, cell i at bit i % 8 of byte
//      i / 8; the bits past the last cell are 0.
// Empty for a map that is not whole (no resolution, wrong bit count).
std::vector<uint8_t> encodeSolidMap(const SolidMap& map, uint64_t fingerprint);

// The length of the block of a map at `resolution`.
constexpr uint64_t solidMapBlockBytes(uint32_t resolution) {
  return 52 + (uint64_t(resolution) * resolution * resolution + 7) / 8;
}

// Writes the checksum of the block's other bytes into it (nothing for a block
// shorter than the header); for tests and fuzzing that edit a block.
void sealSolidMapBlock(std::vector<uint8_t>& block);

// Reads a block; false, leaving `map` untouched, unless the block is whole,
// consistent and made for the mesh with `fingerprint`. Safe on any bytes.
bool decodeSolidMap(const void* data, size_t size, uint64_t fingerprint, SolidMap& map);

// True when the point, in the mesh's own frame, falls in a solid cell.
// Points outside the bounds are outside.
bool solidMapContains(const SolidMap& map, Vec3 point);

// Where the point falls: in a cell whose 26 neighbours share its answer, deep
// outside or deep inside, where the cell's answer holds for all its points;
// or in a cell beside one of the other answer, which the surface may cross,
// so that a point away from the cell's centre may lie on the other side.
// Points outside the bounds are outside; cells beyond the border count as
// outside.
enum MapRegion { kMapOutside, kMapInside, kMapNearSurface };
MapRegion solidMapRegion(const SolidMap& map, Vec3 point);
