// Geometry checks on triangle meshes for the generator's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/tools/chunk_walker.h"
#include "tools/mesh.h"

// The vertices of a walked object in the game's axes: file (f0, f1, f2)
// becomes (f0, f2, -f1), as the game's reader does.
std::vector<Point3> gameVertices(const WalkedObject& object);

// What is wrong with the triangles as a closed, consistently wound surface
// whose vertices are shared by index: an edge not used by exactly two
// triangles, or used twice in the same direction. Empty when closed.
std::string closedSurfaceFault(const std::vector<uint16_t>& triangles);

// Signed volume enclosed by the triangles (positive when they wind
// counter-clockwise seen from outside). Exact for any geometrically closed
// surface, shared vertices or not.
double signedVolume(const std::vector<Point3>& points, const std::vector<uint16_t>& triangles);

struct Bounds {
  Point3 min, max;
};
Bounds boundsOf(const std::vector<Point3>& points);
