// One contact query (touching: yes or no) of the generated fighter against
// the generated planet, in four poses, by our box tree, by brute force over
// every triangle pair, by FCL (OBBRSS trees) and by Bullet's GImpact. All four
// must give the same answers; a pose where they differ is reported as an
// error instead of timed.
#include <benchmark/benchmark.h>

#include <btBulletCollisionCommon.h>
#include <BulletCollision/Gimpact/btGImpactCollisionAlgorithm.h>
#include <BulletCollision/Gimpact/btGImpactShape.h>
#include <fcl/fcl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/nx/box_tree.h"
#include "tools/model_triangles.h"
#include "tools/models.h"

namespace {

MeshGeometry geometryOf(const TdsModel& model) {
  ModelTriangles soup = modelTriangles(model);
  return meshFromArrays(soup.points.data(), soup.points.size() / 3, soup.triangles.data(),
                        soup.triangles.size() / 3);
}

enum PoseKind { kDisjoint, kGrazing, kNearMiss, kDeep, kPoseCount };
const char* const kPoseNames[kPoseCount] = {"disjoint", "grazing", "near_miss", "deep"};

using FclModel = fcl::BVHModel<fcl::OBBRSSf>;

std::shared_ptr<FclModel> fclModelOf(const MeshGeometry& mesh) {
  std::vector<fcl::Vector3f> points;
  for (Vec3 p : mesh.points) points.emplace_back(p.x, p.y, p.z);
  std::vector<fcl::Triangle> triangles;
  for (uint32_t t = 0; t < mesh.triangleCount(); ++t)
    triangles.emplace_back(mesh.triangles[3 * t], mesh.triangles[3 * t + 1], mesh.triangles[3 * t + 2]);
  auto model = std::make_shared<FclModel>();
  model->beginModel();
  model->addSubModel(points, triangles);
  model->endModel();
  return model;
}

fcl::Transform3f fclTransformOf(const Pose& pose) {
  fcl::Transform3f transform = fcl::Transform3f::Identity();
  fcl::Matrix3f rotation;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) rotation(i, j) = pose.R[i][j];
  transform.linear() = rotation;
  transform.translation() = fcl::Vector3f(pose.t.x, pose.t.y, pose.t.z);
  return transform;
}

// A GImpact shape over its own copy of the mesh's arrays.
struct BulletMesh {
  std::vector<btScalar> points;
  std::vector<int> triangles;
  std::unique_ptr<btTriangleIndexVertexArray> array;
  std::unique_ptr<btGImpactMeshShape> shape;
  btCollisionObject object;

  explicit BulletMesh(const MeshGeometry& mesh) {
    for (Vec3 p : mesh.points) points.insert(points.end(), {p.x, p.y, p.z});
    triangles.assign(mesh.triangles.begin(), mesh.triangles.end());
    array.reset(new btTriangleIndexVertexArray(static_cast<int>(mesh.triangleCount()), triangles.data(),
                                               3 * sizeof(int), static_cast<int>(mesh.points.size()),
                                               points.data(), 3 * sizeof(btScalar)));
    shape.reset(new btGImpactMeshShape(array.get()));
    shape->setMargin(0);
    shape->updateBound();
    object.setCollisionShape(shape.get());
  }

  void place(const Pose& pose) {
    btMatrix3x3 basis(pose.R[0][0], pose.R[0][1], pose.R[0][2], pose.R[1][0], pose.R[1][1], pose.R[1][2],
                      pose.R[2][0], pose.R[2][1], pose.R[2][2]);
    object.setWorldTransform(btTransform(basis, btVector3(pose.t.x, pose.t.y, pose.t.z)));
  }
};

struct BulletWorld {
  btDefaultCollisionConfiguration configuration;
  btCollisionDispatcher dispatcher{&configuration};
  BulletWorld() { btGImpactCollisionAlgorithm::registerAlgorithm(&dispatcher); }

  // The GImpact algorithm run directly on the pair; touching when it leaves
  // a contact point at distance 0 or less (it also keeps points closer than
  // its contact threshold, 0.02 by default).
  bool collide(BulletMesh& a, BulletMesh& b) {
    btCollisionObjectWrapper wrapA(nullptr, a.shape.get(), &a.object, a.object.getWorldTransform(), -1, -1);
    btCollisionObjectWrapper wrapB(nullptr, b.shape.get(), &b.object, b.object.getWorldTransform(), -1, -1);
    btCollisionAlgorithmConstructionInfo info(&dispatcher, 0);
    btGImpactCollisionAlgorithm algorithm(info, &wrapA, &wrapB);
    btManifoldResult result(&wrapA, &wrapB);
    btDispatcherInfo dispatchInfo;
    algorithm.processCollision(&wrapA, &wrapB, dispatchInfo, &result);
    btPersistentManifold* manifold = result.getPersistentManifold();
    for (int i = 0; manifold && i < manifold->getNumContacts(); ++i)
      if (manifold->getContactPoint(i).getDistance() <= 0) return true;
    return false;
  }
};

struct Scene {
  MeshGeometry fighter, planet;
  BoxTree* fighterTree;
  BoxTree* planetTree;
  Pose planetPose;
  Pose fighterPoses[kPoseCount];
  std::shared_ptr<FclModel> fclFighter, fclPlanet;
  BulletWorld bullet;
  std::unique_ptr<BulletMesh> bulletFighter, bulletPlanet;
  std::string disagreement[kPoseCount];  // empty when every engine agrees

  bool tree(PoseKind kind, QueryCounters* counters) const {
    return treesIntersect(fighter, *fighterTree, fighterPoses[kind], planet, *planetTree, planetPose, counters);
  }
  bool brute(PoseKind kind) const {
    return meshesIntersectBruteForce(fighter, fighterPoses[kind], planet, planetPose, nullptr);
  }
  bool fcl(PoseKind kind) const {
    fcl::CollisionRequestf request;
    fcl::CollisionResultf result;
    fcl::collide(fclFighter.get(), fclTransformOf(fighterPoses[kind]), fclPlanet.get(), fclTransformOf(planetPose),
                 request, result);
    return result.isCollision();
  }
  bool gimpact(PoseKind kind) {
    bulletFighter->place(fighterPoses[kind]);
    return bullet.collide(*bulletFighter, *bulletPlanet);
  }

  Scene() {
    fighter = geometryOf(makeFighter());
    planet = geometryOf(makePlanet());
    fighterTree = buildBoxTree(fighter);
    planetTree = buildBoxTree(planet);
    planetPose = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};
    // The fighter tilted on no particular axis, its centre on a line from the
    // planet's centre that meets no vertex or axis of the sphere.
    const float c = std::cos(0.7f), s = std::sin(0.7f);
    const float k = 1 / std::sqrt(3.0f);
    Pose tilt = {{{c + k * k * (1 - c), k * k * (1 - c) - k * s, k * k * (1 - c) + k * s},
                  {k * k * (1 - c) + k * s, c + k * k * (1 - c), k * k * (1 - c) - k * s},
                  {k * k * (1 - c) - k * s, k * k * (1 - c) + k * s, c + k * k * (1 - c)}},
                 {0, 0, 0}};
    Vec3 d = {0.36f, 0.8f, 0.48f};
    d = d * (1 / std::sqrt(dot(d, d)));
    Vec3 lo = fighter.points[0], hi = fighter.points[0];
    for (Vec3 p : fighter.points) {
      lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
      hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    }
    Vec3 centre = transformPoint(tilt, (lo + hi) * 0.5f);  // the middle of the fighter's bounds
    auto at = [&](float distance) {
      Pose p = tilt;
      p.t = d * distance - centre;
      return p;
    };
    auto touching = [&](float distance) {
      Pose p = at(distance);
      return treesIntersect(fighter, *fighterTree, p, planet, *planetTree, planetPose, nullptr);
    };
    // The last distance that touches, found to a float.
    // From the centre on the sphere (the facets lie a little inside it).
    float in = 100, out = 104;
    while (!touching(in) && in > 95) in -= 0.05f;
    for (int step = 0; step < 64; ++step) {
      float mid = 0.5f * (in + out);
      if (mid == in || mid == out) break;
      (touching(mid) ? in : out) = mid;
    }
    fighterPoses[kDisjoint] = at(140);  // beyond the planet's bounding box
    fighterPoses[kGrazing] = at(in - 0.001f);
    fighterPoses[kNearMiss] = at(out + 0.1f);
    fighterPoses[kDeep] = at(in - 0.75f);

    fclFighter = fclModelOf(fighter);
    fclPlanet = fclModelOf(planet);
    bulletFighter.reset(new BulletMesh(fighter));
    bulletPlanet.reset(new BulletMesh(planet));
    bulletPlanet->place(planetPose);

    std::fprintf(stderr, "fighter %u triangles, planet %u triangles; contact from %.6f along the line\n",
                 fighter.triangleCount(), planet.triangleCount(), in);
    for (int kind = 0; kind < kPoseCount; ++kind) {
      PoseKind pose = static_cast<PoseKind>(kind);
      QueryCounters work;
      bool answers[4] = {tree(pose, &work), brute(pose), fcl(pose), gimpact(pose)};
      char line[200];
      std::snprintf(line, sizeof line, "%-9s tree %d brute %d fcl %d bullet %d (box tests %llu, triangle tests %llu)",
                    kPoseNames[kind], answers[0], answers[1], answers[2], answers[3],
                    static_cast<unsigned long long>(work.boxTests),
                    static_cast<unsigned long long>(work.triangleTests));
      std::fprintf(stderr, "%s\n", line);
      if (answers[1] != answers[0] || answers[2] != answers[0] || answers[3] != answers[0])
        disagreement[kind] = std::string("engines disagree: ") + line;
    }
  }
};

Scene& scene() {
  static Scene instance;
  return instance;
}

enum Engine { kTree, kBrute, kFcl, kBullet };

void runQuery(benchmark::State& state, Engine engine, PoseKind pose) {
  Scene& s = scene();
  if (!s.disagreement[pose].empty()) {
    state.SkipWithError(s.disagreement[pose].c_str());
    return;
  }
  QueryCounters work;
  for (auto _ : state) {
    bool hit = engine == kTree ? s.tree(pose, &work)
               : engine == kBrute ? s.brute(pose)
               : engine == kFcl   ? s.fcl(pose)
                                  : s.gimpact(pose);
    benchmark::DoNotOptimize(hit);
  }
  if (engine == kTree) {
    state.counters["box_tests"] = static_cast<double>(work.boxTests) / state.iterations();
    state.counters["triangle_tests"] = static_cast<double>(work.triangleTests) / state.iterations();
  }
}

const int registered = [] {
  const char* engines[] = {"tree", "brute_force", "fcl", "bullet_gimpact"};
  for (int pose = 0; pose < kPoseCount; ++pose)
    for (int engine = 0; engine < 4; ++engine) {
      std::string name = std::string("Collide/") + kPoseNames[pose] + "/" + engines[engine];
      benchmark::RegisterBenchmark(name.c_str(), runQuery, static_cast<Engine>(engine),
                                   static_cast<PoseKind>(pose))
          ->Unit(benchmark::kMicrosecond);
    }
  return 0;
}();

}  // namespace
