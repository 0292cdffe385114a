// The exact inside test and the map's near-surface cells on chosen shapes,
// where each rule decides the answer: a crossing at the point itself, the
// third ray, and the corner neighbours of a cell.
#include <gtest/gtest.h>

#include "platform/nx/box_tree.h"
#include "platform/nx/solid_map.h"

namespace {

// Two open squares: one across x at x = 0 (y, z in [0, 1]), one across y at
// y = 0.2 (x, z in [-1, 1]). A ray along z is parallel to both and crosses
// neither.
MeshGeometry twoSquares() {
  const float points[] = {0, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1,
                          -1, 0.2f, -1, 1, 0.2f, -1, 1, 0.2f, 1, -1, 0.2f, 1};
  const uint32_t triangles[] = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
  return meshFromArrays(points, 8, triangles, 4);
}

bool inside(const MeshGeometry& mesh, Vec3 point) {
  BoxTree* tree = buildBoxTree(mesh);
  bool answer = pointInsideMesh(mesh, *tree, point, nullptr);
  releaseBoxTree(tree);
  return answer;
}

// At (0, 0.3, 0.6), on the first square: the ray along x meets it at the
// point itself, which does not count (even: outside); the ray along y
// crosses the second square before the point (odd); they disagree, and the
// ray along z (no crossing) decides: outside. Counting the crossing at the
// point would make the first two agree on inside.
TEST(ExactInsideRules, ACrossingAtThePointItselfDoesNotCount) {
  EXPECT_FALSE(inside(twoSquares(), Vec3{0, 0.3f, 0.6f}));
  EXPECT_TRUE(inside(twoSquares(), Vec3{0.5f, 0.3f, 0.6f})) << "past both squares: x and y agree";
}

// At (0.5, 0.1, 0.5): the ray along x crosses the first square (odd), the
// ray along y meets the second only past the point (even): the third ray,
// along z, crossing nothing, decides outside. Without it the first ray's
// answer, inside, would stand.
TEST(ExactInsideRules, TheThirdRayDecidesWhenTheFirstTwoDisagree) {
  EXPECT_FALSE(inside(twoSquares(), Vec3{0.5f, 0.1f, 0.5f}));
  EXPECT_FALSE(inside(twoSquares(), Vec3{-0.5f, 0.1f, 0.5f})) << "before both squares";
}

// A 3 x 3 x 3 map over [0, 3]^3 with one solid cell.
SolidMap mapWithSolidCell(int x, int y, int z) {
  SolidMap map;
  map.resolution = 3;
  map.boundsMin = Vec3{0, 0, 0};
  map.boundsMax = Vec3{3, 3, 3};
  map.bits.assign(4, 0);
  int cell = x + 3 * (y + 3 * z);
  map.bits[cell / 8] = static_cast<uint8_t>(1 << (cell % 8));
  return map;
}

// The centre cell is near the surface when any of its 26 neighbours has the
// other answer: a corner neighbour, an edge neighbour or a face neighbour.
TEST(SolidMapRegion, AllTwentySixNeighboursOfACellCount) {
  const Vec3 centre{1.5f, 1.5f, 1.5f};
  EXPECT_EQ(solidMapRegion(mapWithSolidCell(0, 0, 0), centre), kMapNearSurface) << "corner";
  EXPECT_EQ(solidMapRegion(mapWithSolidCell(2, 0, 2), centre), kMapNearSurface) << "corner";
  EXPECT_EQ(solidMapRegion(mapWithSolidCell(1, 0, 0), centre), kMapNearSurface) << "edge";
  EXPECT_EQ(solidMapRegion(mapWithSolidCell(1, 1, 2), centre), kMapNearSurface) << "face";
  EXPECT_EQ(solidMapRegion(mapWithSolidCell(1, 1, 1), centre), kMapNearSurface)
      << "a solid cell among outside ones";
  SolidMap none = mapWithSolidCell(0, 0, 0);
  none.bits.assign(4, 0);
  EXPECT_EQ(solidMapRegion(none, centre), kMapOutside);
  SolidMap all = none;
  all.bits.assign(4, 0xff);
  EXPECT_EQ(solidMapRegion(all, centre), kMapInside);
  EXPECT_EQ(solidMapRegion(all, Vec3{0.5f, 1.5f, 1.5f}), kMapNearSurface)
      << "cells beyond the border are outside";
  EXPECT_EQ(solidMapRegion(mapWithSolidCell(0, 0, 0), Vec3{2.5f, 2.5f, 2.5f}), kMapOutside)
      << "two cells from the solid one";
}

}  // namespace
