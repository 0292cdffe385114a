// The six generated models, read back with the independent chunk walker and
// checked against the places where the game draws them.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>

#include "tests/tools/chunk_walker.h"
#include "tests/tools/geometry.h"
#include "tools/models.h"

namespace {

WalkedModel walk(const TdsModel& model) {
  std::string error;
  std::vector<uint8_t> bytes = writeTds(model, &error);
  EXPECT_FALSE(bytes.empty()) << error;
  WalkedModel walked;
  EXPECT_TRUE(walkTds(bytes, &walked, &error)) << error;
  return walked;
}

std::vector<Point3> allGameVertices(const WalkedModel& model) {
  std::vector<Point3> points;
  for (const WalkedObject& object : model.objects) {
    std::vector<Point3> some = gameVertices(object);
    points.insert(points.end(), some.begin(), some.end());
  }
  return points;
}

// Every group names a material of the model, every face is in exactly one
// group, and every part encloses a positive volume (outward winding).
void expectWellFormed(const WalkedModel& model, const char* name) {
  SCOPED_TRACE(name);
  std::set<std::string> materials;
  for (const WalkedMaterial& m : model.materials) materials.insert(m.name);
  EXPECT_EQ(materials.size(), model.materials.size()) << "material names repeat";
  ASSERT_FALSE(model.objects.empty());
  for (const WalkedObject& object : model.objects) {
    std::vector<int> uses(object.faces.size() / 3, 0);
    for (const WalkedGroup& group : object.groups) {
      EXPECT_EQ(materials.count(group.material), 1u) << group.material;
      for (uint16_t f : group.faces) {
        ASSERT_LT(f, uses.size());
        ++uses[f];
      }
    }
    for (size_t f = 0; f < uses.size(); ++f) EXPECT_EQ(uses[f], 1) << object.name << " face " << f;
    EXPECT_GT(signedVolume(gameVertices(object), object.faces), 0.0) << object.name;
  }
}

// Where a point of the model lands on the game's 640 x 480 view with the
// chase camera at the start: the model drawn at `at`, the eye at
// (0, 50.5, 250.1) looking along -z, 60 degrees vertical field of view.
// Pixels count from the top left; `depth` is the distance in front of the eye.
struct ScreenPoint {
  float x, y, depth;
};
ScreenPoint project(Point3 p, Point3 at) {
  Point3 eye = {0, 50.5f, 250.1f};
  Point3 d = p + at - eye;
  float depth = -d.z;
  float f = 1.0f / std::tan(30.0f * static_cast<float>(M_PI) / 180.0f);
  float ndcX = f / (640.0f / 480.0f) * d.x / depth;
  float ndcY = f * d.y / depth;
  return {320.0f * (1 + ndcX), 240.0f * (1 - ndcY), depth};
}

// How many triangles the ray from `origin` along `direction` crosses.
int rayHits(const std::vector<Point3>& p, const std::vector<uint16_t>& triangles, Point3 origin, Point3 direction) {
  int hits = 0;
  for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
    Point3 a = p[triangles[t]], e1 = p[triangles[t + 1]] - a, e2 = p[triangles[t + 2]] - a;
    Point3 h = cross(direction, e2);
    float det = dot(e1, h);
    if (std::fabs(det) < 1e-9f) continue;
    Point3 s = origin - a;
    float u = dot(s, h) / det;
    Point3 q = cross(s, e1);
    float v = dot(direction, q) / det;
    float distance = dot(e2, q) / det;
    if (u >= 0 && v >= 0 && u + v <= 1 && distance > 0) ++hits;
  }
  return hits;
}

}  // namespace

TEST(Models, EveryModelIsWellFormed) {
  expectWellFormed(walk(makeFighter()), "fighter");
  expectWellFormed(walk(makePlanet()), "planet");
  expectWellFormed(walk(makeMissile()), "missile");
  expectWellFormed(walk(makeSatellite()), "satellite");
  expectWellFormed(walk(makeMars()), "mars");
  expectWellFormed(walk(makePluto()), "pluto");
}

TEST(Models, FighterHasItsPartsAndBothColourChunks) {
  WalkedModel fighter = walk(makeFighter());
  std::set<std::string> objects, materials;
  for (const WalkedObject& o : fighter.objects) objects.insert(o.name);
  EXPECT_EQ(objects, (std::set<std::string>{"Fuselage", "Wings", "Engines"}));
  std::set<uint16_t> colourKinds;
  for (const WalkedMaterial& m : fighter.materials) {
    materials.insert(m.name);
    EXPECT_EQ(m.mapFile, "") << m.name << ": the fighter is colour only";
    ASSERT_EQ(m.colorChunks.size(), 1u);
    colourKinds.insert(m.colorChunks[0]);
  }
  EXPECT_EQ(colourKinds, (std::set<uint16_t>{0x0010, 0x0011}));
  for (const char* part : {"HULL", "CANOPY", "WING", "ENGINE", "GLOW"}) EXPECT_EQ(materials.count(part), 1u) << part;
}

TEST(Models, FighterSitsAheadAndBelowItsOriginInTheLowerHalfOfTheChaseView) {
  std::vector<Point3> points = allGameVertices(walk(makeFighter()));
  Bounds b = boundsOf(points);
  EXPECT_LT(b.max.z, -1.0f) << "ahead of the origin";
  EXPECT_GT(b.min.z, -3.0f);
  EXPECT_LT(b.max.y, 0.5f) << "below the eye";
  EXPECT_LT(b.min.y, 0.0f);
  EXPECT_NEAR(b.max.z - b.min.z, 1.6f, 0.3f) << "small: about 1.5 units long";
  EXPECT_NEAR(b.max.x, -b.min.x, 1e-4f) << "symmetric";
  float top = 480, bottom = 0, left = 640, right = 0;
  for (Point3 p : points) {
    ScreenPoint s = project(p, {0, 50, 250});
    EXPECT_GT(s.depth, 0.01f);
    top = std::min(top, s.y), bottom = std::max(bottom, s.y);
    left = std::min(left, s.x), right = std::max(right, s.x);
  }
  EXPECT_GT(top, 240) << "whole fighter below the middle of the view";
  EXPECT_LT(bottom, 480) << "and not cut by its lower edge";
  EXPECT_GT(left, 0);
  EXPECT_LT(right, 640);
  EXPECT_GT(right - left, 150) << "large enough to be seen";
}

TEST(Models, PlanetIsAClosedTexturedSphereOfRadius100) {
  WalkedModel planet = walk(makePlanet());
  ASSERT_EQ(planet.objects.size(), 1u);
  const WalkedObject& earth = planet.objects[0];
  EXPECT_EQ(closedSurfaceFault(earth.faces), "");
  std::vector<Point3> points = gameVertices(earth);
  for (Point3 p : points) EXPECT_NEAR(std::sqrt(dot(p, p)), 100.0f, 0.01f);
  double volume = signedVolume(points, earth.faces);
  EXPECT_GT(volume, 0.97 * 4.0 / 3.0 * M_PI * 1e6);
  EXPECT_EQ(earth.texCoords.size(), 2 * points.size());
  ASSERT_EQ(planet.materials.size(), 1u);
  EXPECT_EQ(planet.materials[0].mapFile, "EARTH3.BMP");
  EXPECT_LT(points.size(), 65536u);
  // Flying straight ahead from the start (from (0, 50, 250) along -z) meets
  // the surface of the planet actor, which stands at (0, -5, 0): the ray
  // enters and leaves it. (Moved off x = 0 by a hair, where the ray would run
  // along edges of the mesh.)
  EXPECT_EQ(rayHits(points, earth.faces, Point3{0.01f, 50, 250} - Point3{0, -5, 0}, {0, 0, -1}), 2);
}

TEST(Models, MissileIsAbout300UnitsLongWithItsNoseTowardsMinusZ) {
  WalkedModel missile = walk(makeMissile());
  std::vector<Point3> points = allGameVertices(missile);
  Bounds b = boundsOf(points);
  EXPECT_NEAR(b.max.z - b.min.z, 300.0f, 20.0f);
  EXPECT_LT(b.max.x - b.min.x, 100.0f);
  // The nose tip is the single foremost point, on the axis.
  int atFront = 0;
  for (Point3 p : points) {
    if (p.z == b.min.z) {
      ++atFront;
      EXPECT_NEAR(p.x, 0, 1e-4f);
      EXPECT_NEAR(p.y, 0, 1e-4f);
    }
  }
  EXPECT_EQ(atFront, 1);
  // Scaled by 0.01 as the game draws it, two missiles 250 units apart do not overlap.
  EXPECT_LT(b.max.x - b.min.x, 250.0f);
}

TEST(Models, SatelliteIsAbout20UnitsWide) {
  WalkedModel satellite = walk(makeSatellite());
  Bounds b = boundsOf(allGameVertices(satellite));
  EXPECT_NEAR(b.max.x - b.min.x, 20.0f, 2.0f);
  EXPECT_LT(b.max.y - b.min.y, 20.0f);
  std::set<std::string> materials;
  for (const WalkedMaterial& m : satellite.materials) materials.insert(m.name);
  for (const char* part : {"FOIL", "PANEL", "DISH"}) EXPECT_EQ(materials.count(part), 1u) << part;
}

TEST(Models, BackgroundPlanetsAreTexturedSpheresOnTheirOrigins) {
  WalkedModel mars = walk(makeMars()), pluto = walk(makePluto());
  ASSERT_EQ(mars.materials.size(), 1u);
  ASSERT_EQ(pluto.materials.size(), 1u);
  EXPECT_EQ(mars.materials[0].mapFile, "MARS.BMP");
  EXPECT_EQ(pluto.materials[0].mapFile, "PLUTON.BMP");
  EXPECT_EQ(closedSurfaceFault(mars.objects[0].faces), "");
  EXPECT_EQ(closedSurfaceFault(pluto.objects[0].faces), "");
  Bounds m = boundsOf(allGameVertices(mars)), p = boundsOf(allGameVertices(pluto));
  EXPECT_NEAR(m.max.x - m.min.x, 120.0f, 1.0f);
  EXPECT_NEAR(p.max.x - p.min.x, 80.0f, 1.0f);
  // Placing them is the scenery's job: each model is centred on its origin.
  for (const Bounds& b : {m, p}) {
    EXPECT_NEAR(b.max.x + b.min.x, 0.0f, 1e-3f);
    EXPECT_NEAR(b.max.y + b.min.y, 0.0f, 1e-3f);
    EXPECT_NEAR(b.max.z + b.min.z, 0.0f, 1e-3f);
  }
}

TEST(Models, TexturesAreNamedInUpperCase) {
  for (const TdsModel& model : {makePlanet(), makeMars(), makePluto()}) {
    for (const TdsMaterial& m : model.materials) {
      ASSERT_FALSE(m.mapFile.empty());
      for (char c : m.mapFile) EXPECT_FALSE(std::islower(static_cast<unsigned char>(c))) << m.mapFile;
    }
  }
}
