// The pmap: solid maps of closed and open meshes against the geometry they
// describe, rays through vertices and edges, and the block's checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/nx/solid_map.h"

namespace {

// A closed sphere of shared vertices: a pole at each end of z, `stacks` rings
// of `slices` between.
MeshGeometry sphere(Vec3 centre, float radius, uint32_t slices, uint32_t stacks) {
  MeshGeometry mesh;
  const float pi = 3.14159265f;
  mesh.points.push_back(centre + Vec3{0, 0, -radius});
  for (uint32_t s = 1; s < stacks; ++s) {
    const float polar = pi * float(s) / float(stacks);
    for (uint32_t k = 0; k < slices; ++k) {
      const float around = 2 * pi * float(k) / float(slices);
      const Vec3 d{std::sin(polar) * std::cos(around), std::sin(polar) * std::sin(around), -std::cos(polar)};
      mesh.points.push_back(centre + d * radius);
    }
  }
  mesh.points.push_back(centre + Vec3{0, 0, radius});
  const uint32_t top = uint32_t(mesh.points.size() - 1);
  auto ring = [&](uint32_t s, uint32_t k) { return 1 + (s - 1) * slices + k % slices; };
  for (uint32_t k = 0; k < slices; ++k) {
    mesh.triangles.insert(mesh.triangles.end(), {0, ring(1, k + 1), ring(1, k)});
    mesh.triangles.insert(mesh.triangles.end(), {top, ring(stacks - 1, k), ring(stacks - 1, k + 1)});
    for (uint32_t s = 1; s + 1 < stacks; ++s)
      mesh.triangles.insert(mesh.triangles.end(), {ring(s, k), ring(s, k + 1), ring(s + 1, k + 1),
                                                   ring(s, k), ring(s + 1, k + 1), ring(s + 1, k)});
  }
  return mesh;
}

// The box [lo, hi]^3 as 12 triangles, leaving out face `missing` (0 to 5:
// -x, +x, -y, +y, -z, +z; 6 keeps all).
MeshGeometry box(float lo, float hi, int missing = 6) {
  MeshGeometry mesh;
  for (int k = 0; k < 8; ++k) mesh.points.push_back({k & 1 ? hi : lo, k & 2 ? hi : lo, k & 4 ? hi : lo});
  const uint32_t faces[6][4] = {{0, 2, 6, 4}, {1, 5, 7, 3}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 6, 7, 5}};
  for (int f = 0; f < 6; ++f) {
    if (f == missing) continue;
    const uint32_t* q = faces[f];
    mesh.triangles.insert(mesh.triangles.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
  }
  return mesh;
}

// Calls `check` with each cell's centre and whether the map holds it solid.
void forEachCell(const SolidMap& map, const std::function<void(Vec3, bool)>& check) {
  const uint32_t n = map.resolution;
  const Vec3 size = (map.boundsMax - map.boundsMin) * (1.0f / float(n));
  for (uint32_t z = 0; z < n; ++z)
    for (uint32_t y = 0; y < n; ++y)
      for (uint32_t x = 0; x < n; ++x) {
        const Vec3 centre = map.boundsMin + Vec3{size.x * (x + 0.5f), size.y * (y + 0.5f), size.z * (z + 0.5f)};
        const uint32_t cell = x + n * (y + n * z);
        const bool solid = (map.bits[cell / 8] >> (cell % 8)) & 1;
        ASSERT_EQ(solidMapContains(map, centre), solid) << x << " " << y << " " << z;
        check(centre, solid);
      }
}

float length(Vec3 v) { return std::sqrt(dot(v, v)); }

}  // namespace

TEST(SolidMapBuild, ClosedSphereMatchesDistanceFromCentre) {
  const Vec3 centre{0.37f, -1.21f, 2.05f};
  const MeshGeometry mesh = sphere(centre, 10, 24, 16);
  SolidMap map;
  ASSERT_TRUE(buildSolidMap(mesh, 32, map));
  EXPECT_EQ(map.bits.size(), 32u * 32 * 32 / 8);
  for (const Vec3& p : mesh.points) {
    EXPECT_LT(map.boundsMin.x, p.x);
    EXPECT_LT(p.z, map.boundsMax.z);
  }
  // The faceted sphere lies between radius 0.97 and 1.
  int inside = 0, outside = 0;
  forEachCell(map, [&](Vec3 c, bool solid) {
    const float d = length(c - centre);
    if (d < 9.5f) {
      EXPECT_TRUE(solid) << d;
      ++inside;
    }
    if (d > 10.0f) {
      EXPECT_FALSE(solid) << d;
      ++outside;
    }
  });
  EXPECT_GT(inside, 10000);
  EXPECT_GT(outside, 10000);
  EXPECT_FALSE(solidMapContains(map, centre + Vec3{0, 0, 30}));
  EXPECT_FALSE(solidMapContains(map, {NAN, centre.y, centre.z}));
}

TEST(SolidMapBuild, RaysThroughVerticesAndEdgesCrossOnce) {
  // Cells of size 1 from 0: centres at k + 0.5. Every vertex of these meshes
  // lies on rays of all three axes, and their edges and face diagonals run
  // through further rays; the rays of each axis are checked on their own.
  MeshGeometry octahedron;
  const float c = 4.5f, r = 3;
  octahedron.points = {{c - r, c, c}, {c + r, c, c}, {c, c - r, c}, {c, c + r, c}, {c, c, c - r}, {c, c, c + r}};
  for (uint32_t sx : {0u, 1u})
    for (uint32_t sy : {2u, 3u})
      for (uint32_t sz : {4u, 5u}) octahedron.triangles.insert(octahedron.triangles.end(), {sx, sy, sz});
  for (int axis = 0; axis < 3; ++axis) {
    SolidMap map;
    ASSERT_TRUE(buildParityMap(octahedron, 9, {0, 0, 0}, {9, 9, 9}, axis, map));
    int decided = 0;
    forEachCell(map, [&](Vec3 p, bool solid) {
      const float d = std::fabs(p.x - c) + std::fabs(p.y - c) + std::fabs(p.z - c);
      if (d == r) return;  // on the surface
      EXPECT_EQ(solid, d < r) << "axis " << axis << " at " << p.x << " " << p.y << " " << p.z;
      ++decided;
    });
    EXPECT_EQ(decided, 729 - 38);
  }

  // A cube with corners on cell centres, and the same cube moved by a
  // quarter cell: every face's diagonal passes through ray columns.
  for (float shift : {0.0f, 0.25f})
    for (int axis = 0; axis < 3; ++axis) {
      SolidMap map;
      ASSERT_TRUE(buildParityMap(box(1.5f + shift, 5.5f + shift), 8, {0, 0, 0}, {8, 8, 8}, axis, map));
      forEachCell(map, [&](Vec3 p, bool solid) {
        const float lo = std::min({p.x, p.y, p.z}) - shift, hi = std::max({p.x, p.y, p.z}) - shift;
        if (lo > 1.5f && hi < 5.5f) {
          EXPECT_TRUE(solid) << "axis " << axis << " at " << p.x << " " << p.y << " " << p.z;
        } else if (lo < 1.5f || hi > 5.5f) {
          EXPECT_FALSE(solid) << "axis " << axis << " at " << p.x << " " << p.y << " " << p.z;
        }
      });
    }
}

TEST(SolidMapBuild, OpenMeshTakesTheMajorityOfThreeRays) {
  // A box with one face missing: the ray through the gap alone sees the
  // cells beyond it as inside, the two other rays outvote it, so the map is
  // exactly the box's inside whichever face is missing.
  for (int missing = 0; missing < 6; ++missing) {
    SolidMap map;
    ASSERT_TRUE(buildSolidMapInBounds(box(1.2f, 5.8f, missing), 8, {0, 0, 0}, {8, 8, 8}, map));
    forEachCell(map, [&](Vec3 p, bool solid) {
      const bool inBox = std::min({p.x, p.y, p.z}) > 1.2f && std::max({p.x, p.y, p.z}) < 5.8f;
      EXPECT_EQ(solid, inBox) << "missing " << missing << " at " << p.x << " " << p.y << " " << p.z;
    });
  }
  // A lone square sheet: only the rays across it see it, one vote of three.
  MeshGeometry sheet = box(1.2f, 5.8f);
  sheet.triangles.resize(6);
  SolidMap map;
  ASSERT_TRUE(buildSolidMap(sheet, 8, map));
  forEachCell(map, [](Vec3, bool solid) { EXPECT_FALSE(solid); });
}

TEST(SolidMapBuild, RefusesWhatCannotBeMapped) {
  SolidMap map;
  const MeshGeometry good = box(0, 1);
  EXPECT_FALSE(buildSolidMap(good, 0, map));
  EXPECT_FALSE(buildSolidMap(good, kSolidMapMaxResolution + 1, map));
  EXPECT_FALSE(buildSolidMap(MeshGeometry{good.points, {}}, 8, map));
  MeshGeometry bad = good;
  bad.triangles[4] = 8;
  EXPECT_FALSE(buildSolidMap(bad, 8, map));
  bad = good;
  bad.points[3].y = NAN;
  EXPECT_FALSE(buildSolidMap(bad, 8, map));
  EXPECT_FALSE(buildSolidMapInBounds(good, 8, {0, 0, 1}, {1, 1, 1}, map));
  EXPECT_EQ(map.resolution, 0u);
  // A flat mesh still gets a box with room in every direction.
  ASSERT_TRUE(buildSolidMap(MeshGeometry{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}}, 4, map));
  EXPECT_LT(map.boundsMin.z, map.boundsMax.z);
}

namespace {

// A map whose fields differ from any decoded one, to see a refusal leave it.
SolidMap untouchedMap() {
  SolidMap map;
  map.resolution = 2;
  map.bits = {0x5A};
  return map;
}

bool untouched(const SolidMap& map) {
  return map.resolution == 2 && map.bits == std::vector<uint8_t>{0x5A} && map.boundsMax.x == 0;
}

}  // namespace

TEST(SolidMapBlock, RoundTripKeepsTheMap) {
  const MeshGeometry mesh = sphere({1, 2, 3}, 5, 12, 8);
  SolidMap built, read;
  ASSERT_TRUE(buildSolidMap(mesh, 16, built));
  const std::vector<uint8_t> block = encodeSolidMap(built, meshFingerprint(mesh));
  ASSERT_EQ(block.size(), 52u + 512u);
  ASSERT_TRUE(decodeSolidMap(block.data(), block.size(), meshFingerprint(mesh), read));
  EXPECT_EQ(read.resolution, 16u);
  EXPECT_EQ(read.bits, built.bits);
  EXPECT_EQ(memcmp(&read.boundsMin, &built.boundsMin, sizeof(Vec3)), 0);
  EXPECT_EQ(memcmp(&read.boundsMax, &built.boundsMax, sizeof(Vec3)), 0);
  EXPECT_TRUE(solidMapContains(read, {1, 2, 3}));
  EXPECT_EQ(encodeSolidMap(SolidMap{}, 1).size(), 0u);
}

TEST(SolidMapBlock, RefusesDamagedOrForeignBlocks) {
  // Resolution 5: 125 cells in 16 bytes, 3 bits of padding in the last.
  const MeshGeometry mesh = sphere({0, 0, 0}, 5, 12, 8);
  const uint64_t fingerprint = meshFingerprint(mesh);
  SolidMap built;
  ASSERT_TRUE(buildSolidMap(mesh, 5, built));
  const std::vector<uint8_t> block = encodeSolidMap(built, fingerprint);
  ASSERT_EQ(block.size(), 52u + 16u);
  SolidMap map = untouchedMap();

  for (size_t size = 0; size < block.size(); ++size)
    EXPECT_FALSE(decodeSolidMap(block.data(), size, fingerprint, map)) << size;
  EXPECT_FALSE(decodeSolidMap(nullptr, 0, fingerprint, map));
  std::vector<uint8_t> longer = block;
  longer.push_back(0);
  EXPECT_FALSE(decodeSolidMap(longer.data(), longer.size(), fingerprint, map));
  for (size_t at = 0; at < block.size(); ++at)
    for (uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> damaged = block;
      damaged[at] ^= flip;
      EXPECT_FALSE(decodeSolidMap(damaged.data(), damaged.size(), fingerprint, map)) << at;
    }
  MeshGeometry other = mesh;
  other.points[7].x += 0.001f;
  EXPECT_NE(meshFingerprint(other), fingerprint);
  EXPECT_FALSE(decodeSolidMap(block.data(), block.size(), meshFingerprint(other), map));
  std::swap(other.triangles[0], other.triangles[3]);
  other.points = mesh.points;
  EXPECT_NE(meshFingerprint(other), fingerprint);

  // Header fields that are wrong but sealed with a matching checksum.
  auto edited = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> copy = block;
    std::copy(bytes.begin(), bytes.end(), copy.begin() + at);
    sealSolidMapBlock(copy);
    return decodeSolidMap(copy.data(), copy.size(), fingerprint, map);
  };
  EXPECT_FALSE(edited(0, {'X'}));              // magic
  EXPECT_FALSE(edited(4, {2}));                // version
  EXPECT_FALSE(edited(8, {0}));                // resolution 0
  EXPECT_FALSE(edited(8, {1, 4}));             // resolution 1025
  EXPECT_FALSE(edited(8, {4}));                // 64 cells in 16 bytes
  EXPECT_FALSE(edited(12, {0, 0, 0xC0, 0x7F})); // NaN
  EXPECT_FALSE(edited(16, {0, 0, 0x80, 0x7F})); // infinity
  EXPECT_FALSE(edited(24, {0, 0, 0x80, 0xC7})); // max x below min x
  for (size_t axis = 0; axis < 3; ++axis) {     // max equal to min: cells of no size
    const size_t min = 12 + 4 * axis;
    EXPECT_FALSE(edited(min + 12, {block[min], block[min + 1], block[min + 2], block[min + 3]})) << axis;
  }
  EXPECT_FALSE(edited(block.size() - 1, {uint8_t(block.back() | 0x80)}));  // padding bit
  EXPECT_TRUE(untouched(map));
  EXPECT_TRUE(edited(60, {block[60]}));
  EXPECT_EQ(map.bits, built.bits);
}

// A block written by an earlier build, kept as it was written: the format
// (header, fingerprint, checksum, bit order) may not change under the cache
// files players already have, or each would be refused without a word.
TEST(SolidMapBlock, ABlockWrittenBeforeStillLoads) {
  std::ifstream file(VEKOTRA_NX_TESTDATA "/box_r9.pmap", std::ios::binary);
  ASSERT_TRUE(file.good());
  const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_EQ(stored.size(), 52u + 92u);
  // The box [-1, 2]^3 mapped at resolution 9 over [-4, 5]^3: 27 cells solid.
  const MeshGeometry mesh = box(-1, 2);
  SolidMap map;
  ASSERT_TRUE(decodeSolidMap(stored.data(), stored.size(), meshFingerprint(mesh), map));
  EXPECT_EQ(map.resolution, 9u);
  EXPECT_EQ(map.boundsMin.x, -4.0f);
  EXPECT_EQ(map.boundsMax.z, 5.0f);
  int solid = 0;
  forEachCell(map, [&](Vec3 centre, bool inside) {
    const bool inBox = centre.x > -1 && centre.x < 2 && centre.y > -1 && centre.y < 2 && centre.z > -1 && centre.z < 2;
    EXPECT_EQ(inside, inBox);
    solid += inside;
  });
  EXPECT_EQ(solid, 27);
  SolidMap built;
  ASSERT_TRUE(buildSolidMapInBounds(mesh, 9, {-4, -4, -4}, {5, 5, 5}, built));
  EXPECT_EQ(encodeSolidMap(built, meshFingerprint(mesh)), stored) << "written today as it was then";
}
