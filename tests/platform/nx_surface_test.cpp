// Touching near a surface: the fighter approaching the generated planet from
// every side.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/nx/box_tree_nodes.h"
#include "platform/nx/nx_objects.h"
#include "tools/model_triangles.h"
#include "tools/models.h"

namespace {

MeshObject* meshWithPMap(const TdsModel& model) {
  ModelTriangles soup = modelTriangles(model);
  NxTriangleMeshDesc d;
  d.numVertices = static_cast<NxU32>(soup.points.size() / 3);
  d.numTriangles = static_cast<NxU32>(soup.triangles.size() / 3);
  d.pointStrideBytes = d.triangleStrideBytes = 12;
  d.points = soup.points.data();
  d.triangles = soup.triangles.data();
  NxTriangleMesh* mesh = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION)->createTriangleMesh(d);
  NxPMap pmap;
  if (mesh == nullptr || !NxCreatePMap(pmap, *mesh, 64)) return nullptr;
  mesh->loadPMap(pmap);
  NxReleasePMap(pmap);
  return static_cast<MeshObject*>(mesh);
}

// The fighter, turned at random, flies at the planet's centre from 400
// directions spread over the sphere. Outside with the triangles apart (0.011
// to 3.5 units past where they last meet: one vertex in a 3.17-unit pmap cell
// was taken for inside up to 2.7 units out), no touch; wholly inside, from 2
// units under the surface to the centre, touching; in either order.
TEST(ExactInside, FighterTouchesThePlanetOnlyWhereTheSurfacesMeetOrInside) {
  ActorObject planet, ship;
  planet.mesh = meshWithPMap(makePlanet());
  ship.mesh = meshWithPMap(makeFighter());
  ASSERT_TRUE(planet.mesh && ship.mesh && planet.mesh->hasPMap() && ship.mesh->hasPMap());
  planet.pose = planet.shapePose = ship.shapePose = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};
  std::mt19937 rng(22);
  std::normal_distribution<float> g;
  int early = 0, late = 0;
  for (int i = 0; i < 400; ++i) {
    const float polar = std::acos(1 - (i + 0.5f) / 200), around = 2.39996323f * i;
    const Vec3 d{std::sin(polar) * std::cos(around), std::cos(polar), std::sin(polar) * std::sin(around)};
    float w = g(rng), x = g(rng), y = g(rng), z = g(rng), s = 2 / (w * w + x * x + y * y + z * z);
    ship.pose = {{{1 - s * (y * y + z * z), s * (x * y - w * z), s * (x * z + w * y)},
                  {s * (x * y + w * z), 1 - s * (x * x + z * z), s * (y * z - w * x)},
                  {s * (x * z - w * y), s * (y * z + w * x), 1 - s * (x * x + y * y)}},
                 {0, 0, 0}};
    const Vec3 turnedCentre = transformPoint(ship.pose, ship.mesh->tree->nodes[0].center);
    auto place = [&](float distance) { ship.pose.t = d * distance - turnedCentre; };
    auto trianglesMeet = [&](float distance) {
      place(distance);
      return treesIntersect(planet.mesh->geometry, *planet.mesh->tree, planet.meshPose(), ship.mesh->geometry,
                            *ship.mesh->tree, ship.meshPose(), nullptr);
    };
    // The last distance from the centre, to a thousandth, where they meet.
    float in = 101, out = 104;
    while (in > 96 && !trianglesMeet(in)) in -= 0.1f;
    ASSERT_TRUE(trianglesMeet(in) && !trianglesMeet(out)) << "direction " << i;
    while (out - in > 0.001f) {
      const float mid = 0.5f * (in + out);
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
