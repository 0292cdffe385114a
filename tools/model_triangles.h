// A generated model as one triangle soup in the game's axes (y up), as the
// game's reader would see it: every object's vertices and faces in one list.
// For collision tests and benchmarks that need the game's real shapes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/tds_writer.h"

struct ModelTriangles {
  std::vector<float> points;       // x, y, z per vertex
  std::vector<uint32_t> triangles; // three vertex numbers per triangle
};

ModelTriangles modelTriangles(const TdsModel& model);
