// Building the pmap: for each axis, one ray per column of cells, cast through
// every triangle whose shadow covers the column; the crossings of a column are
// sorted and every cell centre past an odd number of them gets a vote. A cell
// is solid with two votes of three (see solid_map.h).
#include <algorithm>
#include <cmath>

#include "platform/nx/ray_crossing.h"
#include "platform/nx/solid_map.h"

namespace {

// The cells of the map: their centres along each axis, and the two bit
// arrays that gather the rays' votes (`once`: at least one, `twice`: at
// least two, the map itself).
struct Grid {
  uint32_t n;
  float lo[3];
  float cellSize[3];
  std::vector<float> centres[3];
  std::vector<uint8_t> once, twice;
};

struct Crossing {
  uint32_t column;  // u index + n * v index
  float t;          // where the ray meets the triangle, along the ray's axis
};

// The first column index whose centre can lie at or past `value` (rounded
// down generously), clamped to the grid.
uint32_t clampColumn(const Grid& grid, double f) {
  if (!(f > 0)) return 0;
  return f < grid.n - 1 ? uint32_t(f) : grid.n - 1;
}

uint32_t firstColumn(const Grid& grid, int axis, float value) {
  return clampColumn(grid, std::floor((double(value) - grid.lo[axis]) / grid.cellSize[axis] - 0.5) - 1);
}

// The last column index whose centre can lie at or before `value`.
uint32_t lastColumn(const Grid& grid, int axis, float value) {
  return clampColumn(grid, std::ceil((double(value) - grid.lo[axis]) / grid.cellSize[axis] - 0.5) + 1);
}

// Appends the crossings of every ray along `axis` with triangle (a, b, c).
// Coordinates are taken relative to the ray in double precision: differences
// and products of floats are then exact, so the signs of the edge tests are.
void crossTriangle(const Grid& grid, int axis, Vec3 a, Vec3 b, Vec3 c, std::vector<Crossing>& out) {
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  const double aU = axisComponent(a, u), aV = axisComponent(a, v), aT = axisComponent(a, axis);
  const double bU = axisComponent(b, u), bV = axisComponent(b, v), bT = axisComponent(b, axis);
  const double cU = axisComponent(c, u), cV = axisComponent(c, v), cT = axisComponent(c, axis);
  // A triangle seen edge-on is never crossed by a ray moved off its plane.
  if (seenEdgeOn(axis, a, b, c)) return;

  const float minU = float(std::min({aU, bU, cU})), maxU = float(std::max({aU, bU, cU}));
  const float minV = float(std::min({aV, bV, cV})), maxV = float(std::max({aV, bV, cV}));
  const uint32_t i0 = firstColumn(grid, u, minU), i1 = lastColumn(grid, u, maxU);
  const uint32_t j0 = firstColumn(grid, v, minV), j1 = lastColumn(grid, v, maxV);
  for (uint32_t j = j0; j <= j1; ++j) {
    const double pv = grid.centres[v][j];
    const double av = aV - pv, bv = bV - pv, cv = cV - pv;
    for (uint32_t i = i0; i <= i1; ++i) {
      const double pu = grid.centres[u][i];
      const double au = aU - pu, bu = bU - pu, cu = cU - pu;
      float t;
      if (!rayCrossing(au, av, bu, bv, cu, cv, aT, bT, cT, t)) continue;
      out.push_back({i + grid.n * j, t});
    }
  }
}

// Casts the rays along `axis` and adds their votes to the grid.
void castAlongAxis(const MeshGeometry& mesh, int axis, Grid& grid, std::vector<Crossing>& crossings) {
  const uint32_t n = grid.n;
  crossings.clear();
  const uint32_t triangles = mesh.triangleCount();
  for (uint32_t k = 0; k < triangles; ++k) {
    const uint32_t* t = &mesh.triangles[3 * size_t(k)];
    crossTriangle(grid, axis, mesh.points[t[0]], mesh.points[t[1]], mesh.points[t[2]], crossings);
  }

  // Counting sort by column, then each column's few crossings by position.
  const size_t columns = size_t(n) * n;
  std::vector<uint32_t> start(columns + 1, 0);
  for (const Crossing& c : crossings) ++start[c.column + 1];
  for (size_t k = 0; k < columns; ++k) start[k + 1] += start[k];
  std::vector<float> sorted(crossings.size());
  std::vector<uint32_t> next(start.begin(), start.end() - 1);
  for (const Crossing& c : crossings) sorted[next[c.column]++] = c.t;

  // Cell (x, y, z) is bit x + n * (y + n * z); along the ray the index steps
  // by strideOf[axis], and u, v are the two other axes.
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  const size_t strideOf[3] = {1, n, size_t(n) * n};
  const std::vector<float>& centres = grid.centres[axis];
  for (uint32_t j = 0; j < n; ++j) {
    for (uint32_t i = 0; i < n; ++i) {
      const size_t column = i + size_t(n) * j;
      float* first = sorted.data() + start[column];
      float* last = sorted.data() + start[column + 1];
      if (first == last) continue;
      std::sort(first, last);
      size_t cell = i * strideOf[u] + j * strideOf[v];
      const float* passed = first;  // the crossings before cell k's centre end here
      for (uint32_t k = 0; k < n; ++k, cell += strideOf[axis]) {
        while (passed != last && *passed < centres[k]) ++passed;
        if ((passed - first) % 2 == 0) continue;
        const uint8_t bit = uint8_t(1u << (cell % 8));
        grid.twice[cell / 8] |= grid.once[cell / 8] & bit;
        grid.once[cell / 8] |= bit;
      }
    }
  }
}

bool finite(Vec3 p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

bool validBounds(Vec3 lo, Vec3 hi) {
  return finite(lo) && finite(hi) && finite(hi - lo) && lo.x < hi.x && lo.y < hi.y && lo.z < hi.z;
}

}  // namespace

namespace {

// Casts the rays along axes `first` to `last` (inclusive) into `map`: solid
// where at least `votes` of them see an odd number of crossings (1 or 2).
bool castRays(const MeshGeometry& mesh, uint32_t resolution, Vec3 boundsMin, Vec3 boundsMax, int first,
              int last, int votes, SolidMap& map) {
  if (resolution < 1 || resolution > kSolidMapMaxResolution || mesh.triangleCount() == 0) return false;
  if (!validBounds(boundsMin, boundsMax)) return false;
  // Points no triangle uses are no part of the surface, finite or not.
  for (uint32_t index : mesh.triangles)
    if (index >= mesh.points.size() || !finite(mesh.points[index])) return false;

  Grid grid;
  grid.n = resolution;
  const Vec3 size = (boundsMax - boundsMin) * (1.0f / float(resolution));
  if (!(size.x > 0 && size.y > 0 && size.z > 0)) return false;
  for (int axis = 0; axis < 3; ++axis) {
    grid.lo[axis] = axisComponent(boundsMin, axis);
    grid.cellSize[axis] = axisComponent(size, axis);
    grid.centres[axis].resize(resolution);
    for (uint32_t k = 0; k < resolution; ++k)
      grid.centres[axis][k] = float(grid.lo[axis] + (k + 0.5) * double(grid.cellSize[axis]));
  }
  const size_t bytes = size_t((uint64_t(resolution) * resolution * resolution + 7) / 8);
  grid.once.assign(bytes, 0);
  grid.twice.assign(bytes, 0);
  std::vector<Crossing> crossings;
  for (int axis = first; axis <= last; ++axis) castAlongAxis(mesh, axis, grid, crossings);

  map.resolution = resolution;
  map.boundsMin = boundsMin;
  map.boundsMax = boundsMax;
  map.bits = std::move(votes == 1 ? grid.once : grid.twice);
  return true;
}

}  // namespace

bool buildSolidMapInBounds(const MeshGeometry& mesh, uint32_t resolution, Vec3 boundsMin,
                           Vec3 boundsMax, SolidMap& map) {
  return castRays(mesh, resolution, boundsMin, boundsMax, 0, 2, 2, map);
}

bool buildParityMap(const MeshGeometry& mesh, uint32_t resolution, Vec3 boundsMin, Vec3 boundsMax,
                    int axis, SolidMap& map) {
  if (axis < 0 || axis > 2) return false;
  return castRays(mesh, resolution, boundsMin, boundsMax, axis, axis, 1, map);
}

bool buildSolidMap(const MeshGeometry& mesh, uint32_t resolution, SolidMap& map) {
  if (mesh.triangles.empty() || resolution < 1 || resolution > kSolidMapMaxResolution) return false;
  for (uint32_t index : mesh.triangles)
    if (index >= mesh.points.size()) return false;
  // The bounds of the surface: the points the triangles use.
  Vec3 lo = mesh.points[mesh.triangles[0]], hi = lo;
  float magnitude = 0;
  for (uint32_t index : mesh.triangles) {
    const Vec3 p = mesh.points[index];
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    magnitude = std::max({magnitude, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  }
  // Half a cell of the longest side on every side, so no surface point lies
  // on the map's border; never less than what float can tell apart, so a flat
  // mesh still gets a box.
  const Vec3 extent = hi - lo;
  const float longest = std::max({extent.x, extent.y, extent.z});
  const float pad = std::max({0.5f * longest / float(resolution), 1e-5f * magnitude, 1e-6f});
  const Vec3 padding{pad, pad, pad};
  return buildSolidMapInBounds(mesh, resolution, lo - padding, hi + padding, map);
}
