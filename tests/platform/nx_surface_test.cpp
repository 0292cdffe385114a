// Touching near a surface: the exact inside test against the pmap's own rule,
// and the fighter approaching the generated planet from every side.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/nx/box_tree_nodes.h"
#include "platform/nx/nx_objects.h"
#include "tools/model_triangles.h"
#include "tools/models.h"

namespace {

NxTriangleMesh* createMesh(const TdsModel& model) {
  ModelTriangles soup = modelTriangles(model);
  NxTriangleMeshDesc d;
  d.numVertices = static_cast<NxU32>(soup.points.size() / 3);
  d.numTriangles = static_cast<NxU32>(soup.triangles.size() / 3);
  d.pointStrideBytes = 12;
  d.triangleStrideBytes = 12;
  d.points = soup.points.data();
  d.triangles = soup.triangles.data();
  NxTriangleMesh* mesh = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION)->createTriangleMesh(d);
  NxPMap pmap;
  if (mesh == nullptr || !NxCreatePMap(pmap, *mesh, 64)) return nullptr;
  mesh->loadPMap(pmap);
  NxReleasePMap(pmap);
  return mesh;
}

// A box with its +x face missing: the rays along x leak, the two others
// outvote them.
MeshGeometry openBox() {
  MeshGeometry mesh;
  for (int k = 0; k < 8; ++k) mesh.points.push_back({k & 1 ? 3.0f : -1.0f, k & 2 ? 2.0f : -2.0f, k & 4 ? 1.0f : 0.0f});
  const uint32_t faces[5][4] = {{0, 2, 6, 4}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 6, 7, 5}};
  for (const auto& q : faces) mesh.triangles.insert(mesh.triangles.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
  return mesh;
}

// At every cell centre of maps whose centres fall on the meshes' vertices,
// edges and faces, the exact test answers as the map's cell does.
TEST(ExactInside, AnswersAsAPMapCellCentredOnThePoint) {
  MeshObject* planet = static_cast<MeshObject*>(createMesh(makePlanet()));
  ASSERT_NE(planet, nullptr);
  const MeshGeometry box = openBox();
  BoxTree* boxTree = buildBoxTree(box);
  struct Case {
    const MeshGeometry& mesh;
    const BoxTree& tree;
    uint32_t resolution;
    Vec3 lo, hi;
  } cases[] = {
      {planet->geometry, *planet->tree, 24, {-120, -120, -120}, {120, 120, 120}},
      // Centres at -1, -0.5, ... 3 along x: on the box's faces and edges.
      {box, *boxTree, 10, {-1.25f, -2.5f, -0.25f}, {3.75f, 2.5f, 2.25f}},
  };
  for (const Case& c : cases) {
    SolidMap map;
    ASSERT_TRUE(buildSolidMapInBounds(c.mesh, c.resolution, c.lo, c.hi, map));
    const Vec3 size = (map.boundsMax - map.boundsMin) * (1.0f / float(c.resolution));
    int solid = 0;
    for (uint32_t z = 0; z < c.resolution; ++z)
      for (uint32_t y = 0; y < c.resolution; ++y)
        for (uint32_t x = 0; x < c.resolution; ++x) {
          Vec3 centre{float(map.boundsMin.x + (x + 0.5) * double(size.x)),
                      float(map.boundsMin.y + (y + 0.5) * double(size.y)),
                      float(map.boundsMin.z + (z + 0.5) * double(size.z))};
          bool inMap = solidMapContains(map, centre);
          solid += inMap;
          ASSERT_EQ(pointInsideMesh(c.mesh, c.tree, centre, nullptr), inMap) << x << " " << y << " " << z;
        }
    EXPECT_GT(solid, 0);
  }
  // The open box: a point inside, and one just past the missing face.
  EXPECT_TRUE(pointInsideMesh(box, *boxTree, {2.9f, 0.1f, 0.5f}, nullptr));
  EXPECT_FALSE(pointInsideMesh(box, *boxTree, {3.1f, 0.1f, 0.5f}, nullptr));
  releaseBoxTree(boxTree);
}

Pose randomTurn(std::mt19937& rng) {
  std::normal_distribution<float> g;
  float w = g(rng), x = g(rng), y = g(rng), z = g(rng);
  float s = 1 / std::sqrt(w * w + x * x + y * y + z * z);
  w *= s, x *= s, y *= s, z *= s;
  return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
           {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
           {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}},
          {0, 0, 0}};
}

// The fighter, turned at random, flies at the planet's centre from 400
// directions spread over the sphere. Wherever the triangles are apart outside
// the planet (0.011 to 3.5 units out, where one vertex judged by a 3.17-unit
// pmap cell was taken for inside), no touch; wholly inside, from just under
// the surface to the centre, touching; in either order of the pair.
TEST(ExactInside, FighterTouchesThePlanetOnlyWhereTheSurfacesMeetOrInside) {
  ActorObject planet, ship;
  planet.mesh = static_cast<MeshObject*>(createMesh(makePlanet()));
  ship.mesh = static_cast<MeshObject*>(createMesh(makeFighter()));
  ASSERT_NE(planet.mesh, nullptr);
  ASSERT_NE(ship.mesh, nullptr);
  ASSERT_TRUE(planet.mesh->hasPMap() && ship.mesh->hasPMap());
  planet.pose = planet.shapePose = ship.shapePose = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};
  const Vec3 fighterCentre = ship.mesh->tree->nodes[0].center;
  std::mt19937 rng(22);
  int early = 0, late = 0;
  const int directions = 400;
  for (int i = 0; i < directions; ++i) {
    const float polar = std::acos(1 - 2 * (i + 0.5f) / directions), around = 2.39996323f * i;
    const Vec3 d{std::sin(polar) * std::cos(around), std::cos(polar), std::sin(polar) * std::sin(around)};
    ship.pose = randomTurn(rng);
    const Vec3 turnedCentre = transformPoint(ship.pose, fighterCentre);
    auto place = [&](float s) { ship.pose.t = d * s - turnedCentre; };
    auto trianglesMeet = [&](float s) {
      place(s);
      const Pose a = planet.meshPose(), b = ship.meshPose();
      return treesIntersect(planet.mesh->geometry, *planet.mesh->tree, a, ship.mesh->geometry, *ship.mesh->tree, b,
                            nullptr);
    };
    // The last distance from the centre, to a thousandth, where they meet.
    float in = 101, out = 104;
    while (in > 96 && !trianglesMeet(in)) in -= 0.1f;
    ASSERT_TRUE(trianglesMeet(in) && !trianglesMeet(out)) << "direction " << i;
    while (out - in > 0.001f) {
      float mid = 0.5f * (in + out);
      (trianglesMeet(mid) ? in : out) = mid;
    }
    for (float apart : {0.011f, 0.05f, 0.2f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 3.5f}) {
      place(out + apart);
      early += actorsTouch(ship, planet, nullptr) || actorsTouch(planet, ship, nullptr);
    }
    for (float depth : {2.0f, 2.5f, 3.0f, 4.0f, 5.0f, 50.0f, 100.0f}) {
      ASSERT_FALSE(trianglesMeet(in - depth));
      late += !actorsTouch(ship, planet, nullptr) || !actorsTouch(planet, ship, nullptr);
    }
  }
  EXPECT_EQ(early, 0) << "touches reported with the triangles apart outside the planet";
  EXPECT_EQ(late, 0) << "no touch reported with the fighter wholly inside";
}

}  // namespace
