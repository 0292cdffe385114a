// The physics SDK as the game uses it: meshes from descriptors, actors,
// the fixed-step integration and the contact notifications of a pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/nx/nx.h"
#include "platform/nx/nx_objects.h"

namespace {

// Flat point and index arrays, and the descriptor of the mesh they make.
struct FlatMesh {
  std::vector<float> points;
  std::vector<uint32_t> triangles;
  NxTriangleMeshDesc desc() const {
    NxTriangleMeshDesc d;
    d.numVertices = static_cast<NxU32>(points.size() / 3);
    d.numTriangles = static_cast<NxU32>(triangles.size() / 3);
    d.pointStrideBytes = 12;
    d.triangleStrideBytes = 12;
    d.points = points.data();
    d.triangles = triangles.data();
    return d;
  }
};

// A closed axis-aligned cube of half-size h centred on the origin.
struct Cube : FlatMesh {
  explicit Cube(float h) {
    for (int i = 0; i < 8; ++i) {
      points.push_back(i & 1 ? h : -h);
      points.push_back(i & 2 ? h : -h);
      points.push_back(i & 4 ? h : -h);
    }
    const uint32_t faces[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                                   {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    for (const auto& f : faces) triangles.insert(triangles.end(), f, f + 3);
  }
};

// Three separate closed cubes of half-size 1 along x, 30 apart, as the
// fighter is three separate objects; vertex 0 belongs to the first.
struct ThreeParts : FlatMesh {
  ThreeParts() {
    Cube cube(1.0f);
    for (int part = 0; part < 3; ++part) {
      for (size_t k = 0; k < cube.points.size(); k += 3) {
        points.insert(points.end(), {cube.points[k] + 30.0f * part, cube.points[k + 1], cube.points[k + 2]});
      }
      for (uint32_t index : cube.triangles) triangles.push_back(index + 8 * part);
    }
  }
};

struct Recorder : NxUserContactReport {
  std::vector<NxU32> events;
  std::vector<NxActor*> firsts;
  void onContactNotify(NxContactPair& pair, NxU32 mask) override {
    events.push_back(mask);
    firsts.push_back(pair.actors[0]);
  }
};

struct SceneTest : testing::Test {
  NxPhysicsSDK* sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION);
  Recorder report;
  NxScene* scene = nullptr;
  void SetUp() override {
    NxSceneDesc d;
    d.gravity = NxVec3(0.0f, -9.81f, 0.0f);
    d.userContactReport = &report;
    scene = sdk->createScene(d);
  }
  NxActor* addActor(NxTriangleMesh* mesh, NxVec3 at, bool dynamic) {
    NxTriangleMeshShapeDesc shape;
    shape.meshData = mesh;
    NxBodyDesc body;
    NxActorDesc actor;
    actor.globalPose.t = at;
    actor.body = dynamic ? &body : nullptr;
    actor.shapes.push_back(&shape);
    return scene->createActor(actor);
  }
  // One frame: the step as the game makes it.
  void step(float seconds) {
    scene->simulate(seconds);
    scene->flushStream();
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
  }
};

TEST_F(SceneTest, CreationRefusesWrongVersionAndUnsafeMeshDescriptors) {
  EXPECT_EQ(NxCreatePhysicsSDK(0x02010100), nullptr);
  EXPECT_EQ(NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION), sdk);

  Cube cube(1.0f);
  NxTriangleMesh* mesh = sdk->createTriangleMesh(cube.desc());
  ASSERT_NE(mesh, nullptr);
  // The SDK keeps its own copy of the arrays.
  cube.points.assign(cube.points.size(), 1e30f);
  EXPECT_EQ(static_cast<MeshObject*>(mesh)->geometry.points[7].x, 1.0f);

  Cube bad(1.0f);
  bad.triangles[35] = 8;  // one past the last vertex
  EXPECT_EQ(sdk->createTriangleMesh(bad.desc()), nullptr);
  NxTriangleMeshDesc nullPoints = Cube(1.0f).desc();
  nullPoints.points = nullptr;
  EXPECT_EQ(sdk->createTriangleMesh(nullPoints), nullptr);
  NxTriangleMeshDesc wideStride = Cube(1.0f).desc();
  wideStride.pointStrideBytes = 16;
  EXPECT_EQ(sdk->createTriangleMesh(wideStride), nullptr);
  NxTriangleMeshDesc empty = Cube(1.0f).desc();
  empty.numTriangles = 0;
  EXPECT_EQ(sdk->createTriangleMesh(empty), nullptr);
}

TEST_F(SceneTest, FixedSubStepsMoveOnlyFreeDynamicBodies) {
  NxTriangleMesh* mesh = sdk->createTriangleMesh(Cube(1.0f).desc());
  NxActor* falling = addActor(mesh, NxVec3(0, 100, 0), true);
  NxActor* floating = addActor(mesh, NxVec3(10, 100, 0), true);
  floating->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
  NxActor* kinematic = addActor(mesh, NxVec3(20, 100, 0), true);
  kinematic->raiseBodyFlag(NX_BF_KINEMATIC);
  kinematic->setLinearVelocity(NxVec3(0, 5, 0));
  NxActor* fixed = addActor(mesh, NxVec3(30, 100, 0), false);
  ASSERT_EQ(scene->getNbActors(), 4u);
  EXPECT_EQ(scene->getActors()[3], fixed);

  // A first frame measured from a clock reading of 4 million ms costs at
  // most the maximum sub-step count: 8 steps of 1/60 s.
  step(4000000 * 0.001f);
  EXPECT_EQ(static_cast<SceneObject*>(scene)->lastSubSteps, 8u);
  EXPECT_NEAR(falling->getLinearVelocity().y, -9.81f * 8 / 60, 1e-4f);
  float y = 100.0f;
  for (int i = 1; i <= 8; ++i) y += -9.81f * i / 60 / 60;
  EXPECT_NEAR(falling->getGlobalPosition().y, y, 1e-4f);
  EXPECT_EQ(floating->getGlobalPosition().y, 100.0f);
  EXPECT_EQ(kinematic->getGlobalPosition().y, 100.0f);
  EXPECT_EQ(fixed->getGlobalPosition().y, 100.0f);

  // Frames shorter than a sub-step add up instead of being lost.
  SceneObject* s = static_cast<SceneObject*>(scene);
  step(0.010f);
  EXPECT_EQ(s->lastSubSteps, 0u);
  step(0.010f);
  EXPECT_EQ(s->lastSubSteps, 1u);

  // Exactly the maximum count of whole sub-steps, with half a sub-step over:
  // that half is dropped with the rest, not carried into the next frame.
  NxSceneDesc d;
  scene = sdk->createScene(d);
  s = static_cast<SceneObject*>(scene);
  step(8.5f / 60);
  EXPECT_EQ(s->lastSubSteps, 8u);
  step(0.6f / 60);
  EXPECT_EQ(s->lastSubSteps, 0u);
}

TEST_F(SceneTest, VariableStepsCoverTheElapsedTimeUpToTheMaximum) {
  NxSceneDesc d;
  d.gravity = NxVec3(0.0f, -9.81f, 0.0f);
  d.timeStepMethod = NX_TIMESTEP_VARIABLE;
  scene = sdk->createScene(d);
  NxActor* falling = addActor(sdk->createTriangleMesh(Cube(1.0f).desc()), NxVec3(0, 0, 0), true);
  // 7.5 sixtieths: eight equal sub-steps covering exactly that time.
  step(7.5f / 60);
  EXPECT_NEAR(falling->getLinearVelocity().y, -9.81f * 7.5f / 60, 1e-4f);
  // Far more than eight sub-steps' worth: eight whole ones, the rest dropped.
  step(10.0f);
  EXPECT_NEAR(falling->getLinearVelocity().y, -9.81f * 15.5f / 60, 1e-4f);
}

TEST_F(SceneTest, PairReportsStartTouchingAndEndOncePerStep) {
  NxTriangleMesh* mesh = sdk->createTriangleMesh(Cube(1.0f).desc());
  NxActor* ship = addActor(mesh, NxVec3(0, 0, 0), true);
  ship->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
  NxActor* planet = addActor(mesh, NxVec3(0, -5, 0), true);
  planet->raiseBodyFlag(NX_BF_KINEMATIC);
  NxActor* other = addActor(mesh, NxVec3(0, -5, 0), false);  // overlaps the planet, no flags
  scene->setActorPairFlags(*ship, *planet, 14);
  EXPECT_EQ(scene->getActorPairFlags(*planet, *ship), 14u);
  (void)other;

  // Approach, a face-to-face touch, a stay inside, a departure: tiny frames
  // with no sub-step still report.
  const float heights[] = {0.0f, -2.5f, -3.0f, -4.0f, -4.5f, 0.0f, 0.0f};
  for (float h : heights) {
    ship->setGlobalPosition(NxVec3(0, h, 0));
    step(0.001f);
  }
  std::vector<NxU32> expected = {2 | 8, 8, 8, 4};
  EXPECT_EQ(report.events, expected);
  for (NxActor* first : report.firsts) EXPECT_EQ(first, ship);
  EXPECT_EQ(planet->getGlobalPosition().y, -5.0f);
}

TEST(MeshParts, OneVertexOfEachConnectedPart) {
  const ThreeParts three;
  const MeshGeometry g = meshFromArrays(three.points.data(), 24, three.triangles.data(), 36);
  EXPECT_EQ(meshPartVertices(g), (std::vector<uint32_t>{0, 8, 16}));
  // Two triangles with vertices of their own meeting along an edge (a seam),
  // one apart, an unused vertex, and a -0 meeting a +0.
  MeshGeometry seam;
  seam.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0},
                 {9, 9, 9}, {-0.0f, 3, 0}, {0, 3, 1}, {0, 4, 0}, {0.0f, 3, 0}, {1, 3, 0}, {0, 4, 1}};
  seam.triangles = {0, 1, 2, 4, 6, 5, 8, 9, 10, 11, 12, 13};
  EXPECT_EQ(meshPartVertices(seam), (std::vector<uint32_t>{0, 8}));
}

// Each part of a mesh made of separate parts can be inside the other mesh on
// its own, with no surfaces crossing; whichever actor the pair names first.
TEST_F(SceneTest, AnyPartWhollyInsideTouchesThroughThePMapInEitherOrder) {
  NxTriangleMesh* big = sdk->createTriangleMesh(Cube(10.0f).desc());
  NxTriangleMesh* parts = sdk->createTriangleMesh(ThreeParts().desc());
  NxPMap pmap;
  ASSERT_TRUE(NxCreatePMap(pmap, *big, 64));
  ASSERT_TRUE(big->loadPMap(pmap));
  NxReleasePMap(pmap);
  // The parts at x = -60, -30, 0 (the last inside the big cube), then at
  // -30, 0, 30 (the middle one inside).
  for (float shift : {-60.0f, -30.0f}) {
    for (bool shipFirst : {true, false}) {
      SetUp();
      NxActor* outer = addActor(big, NxVec3(0, 0, 0), false);
      NxActor* ship = addActor(parts, NxVec3(shift, 0, 0), false);
      if (shipFirst) {
        scene->setActorPairFlags(*ship, *outer, 14);
      } else {
        scene->setActorPairFlags(*outer, *ship, 14);
      }
      step(0.02f);
      EXPECT_EQ(report.events, std::vector<NxU32>{2 | 8}) << shift << " " << shipFirst;
      report.events.clear();
      ship->setGlobalPosition(NxVec3(-90, 0, 0));
      step(0.02f);
      EXPECT_EQ(report.events, std::vector<NxU32>{4}) << "all outside";
      report.events.clear();
    }
  }
  // A small mesh inside a large one, in both orders.
  NxTriangleMesh* small = sdk->createTriangleMesh(Cube(1.0f).desc());
  for (bool smallFirst : {true, false}) {
    SetUp();
    NxActor* outer = addActor(big, NxVec3(0, 0, 0), false);
    NxActor* inner = addActor(small, NxVec3(2, 3, 1), false);
    if (smallFirst) {
      scene->setActorPairFlags(*inner, *outer, 14);
    } else {
      scene->setActorPairFlags(*outer, *inner, 14);
    }
    step(0.02f);
    EXPECT_EQ(report.events, std::vector<NxU32>{2 | 8}) << smallFirst;
    report.events.clear();
  }
}

TEST_F(SceneTest, SmallMeshWhollyInsideTouchesOnlyThroughThePMap) {
  NxTriangleMesh* big = sdk->createTriangleMesh(Cube(10.0f).desc());
  NxTriangleMesh* small = sdk->createTriangleMesh(Cube(1.0f).desc());
  NxActor* outer = addActor(big, NxVec3(0, 0, 0), false);
  NxActor* inner = addActor(small, NxVec3(2, 3, 1), false);
  scene->setActorPairFlags(*inner, *outer, 14);
  step(0.02f);
  EXPECT_TRUE(report.events.empty());

  NxPMap pmap;
  ASSERT_TRUE(NxCreatePMap(pmap, *big, 64));
  // A block made for another mesh, or cut short, is refused.
  EXPECT_FALSE(small->loadPMap(pmap));
  NxPMap shortBlock{pmap.dataSize - 1, pmap.data};
  EXPECT_FALSE(big->loadPMap(shortBlock));
  EXPECT_FALSE(big->hasPMap());
  EXPECT_TRUE(big->loadPMap(pmap));
  NxReleasePMap(pmap);
  EXPECT_EQ(pmap.data, nullptr);

  step(0.02f);
  ASSERT_EQ(report.events.size(), 1u);
  EXPECT_EQ(report.events[0], 2u | 8u);
  // Moved out beyond the big cube: the touch ends.
  inner->setGlobalPosition(NxVec3(30, 0, 0));
  step(0.02f);
  EXPECT_EQ(report.events.back(), 4u);
}

}  // namespace
