// The game's side of the physics: the collision mesh of a model with its
// .pmap cache, the two actors, the contact report and the drawing matrix.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/game_state.h"
#include "model/model_table.h"
#include "physics/actors.h"
#include "physics/contact_report.h"
#include "physics/world.h"
#include "physics/wrappers.h"
#include "platform/nx/nx_objects.h"
#include "tests/model/bytes_3ds.h"

namespace {

// A model of two objects, each a closed tetrahedron, as the reader leaves it;
// with `damaged`, the first object has a fifth vertex of NaN and a fifth face
// using it, as in a model from a public 3DS collection.
void makeTwoObjectModel(Model_3DS& model, const char* path, float offset, bool damaged = false) {
  model = Model_3DS();
  model.modelname = path;
  model.nb_obj = 2;
  model.objects = new ModelObject[2]();
  static uint16_t faces[15] = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3, 0, 1, 4};
  for (int i = 0; i < 2; ++i) {
    ModelObject& o = model.objects[i];
    float s = i == 0 ? 1.0f : 2.0f;
    o.vertices = new float[15]{offset, 0, 0, offset + s, 0, 0, offset, s, 0, offset, 0, s, NAN, 0, 0};
    o.vertexCount = i == 0 && damaged ? 5 : 4;
    o.faceIndices = faces;
    o.faceIndexCount = o.vertexCount * 3;
  }
  model.tot_verts = damaged ? 9 : 8;
  model.tot_faces = damaged ? 9 : 8;
}

std::string scratchDir() {
  char pattern[] = "/tmp/vekotra-physics-XXXXXX";
  return mkdtemp(pattern);
}

TEST(PhysicsGame, DrawingMatrixIsTheActorPoseColumnByColumn) {
  NxMat34 pose;
  const float turned[9] = {0, 0, 1, 0, 1, 0, -1, 0, 0};  // 90 degrees about y
  pose.M.setRowMajor(turned);
  pose.t = NxVec3(1, 2, 3);
  float m[16];
  poseToGLMatrix(pose, m);
  const float expected[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 2, 3, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], expected[i]) << "element " << i;
}

TEST(PhysicsGame, CollisionMeshFlattensObjectsAndCachesItsPMap) {
  ASSERT_TRUE(initPhysicsWorld());
  std::string dir = scratchDir();
  std::string path = dir + "/two.3DS";
  makeTwoObjectModel(ModelTable[2], path.c_str(), 0.0f);

  testing::internal::CaptureStdout();
  buildCollisionMesh(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Precomputing [" + path + ".pmap]...  OK\n");
  ASSERT_NE(collisionMesh, nullptr);
  // The second object's indices address the vertices after the first's.
  EXPECT_EQ(meshIndices[0], 0u);
  EXPECT_EQ(meshIndices[12], 4u);
  EXPECT_EQ(meshIndices[13], 6u);
  EXPECT_EQ(meshVertices[4 * 3 + 0], 0.0f);
  EXPECT_EQ(meshVertices[5 * 3 + 0], 2.0f);
  EXPECT_TRUE(collisionMesh->hasPMap());
  std::string pmapPath = path + ".pmap";
  long written = static_cast<long>(fileSize(pmapPath.c_str()));
  EXPECT_GT(written, 0);

  // A second start reads the file back and prints nothing.
  testing::internal::CaptureStdout();
  buildCollisionMesh(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(collisionMesh->hasPMap());

  // A file made for another mesh is refused: no pmap, nothing printed, the
  // file left as it is and nothing computed.
  makeTwoObjectModel(ModelTable[2], path.c_str(), 5.0f);
  testing::internal::CaptureStdout();
  buildCollisionMesh(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(collisionMesh->hasPMap());
  EXPECT_EQ(static_cast<long>(fileSize(pmapPath.c_str())), written);

  // A file that cannot be written: the computed pmap is still used.
  std::string unwritable = dir + "/no-such-folder/m.3DS";
  makeTwoObjectModel(ModelTable[2], unwritable.c_str(), 0.0f);
  testing::internal::CaptureStdout();
  buildCollisionMesh(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Precomputing [" + unwritable + ".pmap]...  OK\n");
  EXPECT_TRUE(collisionMesh->hasPMap());
  EXPECT_EQ(fileSize((unwritable + ".pmap").c_str()), 0u);

  // A model without faces gives no mesh, and the actor made from it is absent.
  ModelTable[3] = Model_3DS();
  ModelTable[3].modelname = "empty.3DS";
  testing::internal::CaptureStdout();
  buildCollisionMesh(3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(collisionMesh, nullptr);
  NxU32 before = scene->getNbActors();
  createMeshActor(3, true);
  EXPECT_EQ(scene->getNbActors(), before);

  remove(pmapPath.c_str());
  rmdir(dir.c_str());
}

// The peak of the process's resident memory, in kB, since the last reset.
long peakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, 6, "VmHWM:") == 0) return std::stol(line.substr(6));
  return -1;
}

void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

TEST(PhysicsGame, PMapCacheBesideDataInFoldersOfAnotherCase) {
  ASSERT_TRUE(initPhysicsWorld());
  std::string dir = scratchDir();
  ASSERT_EQ(mkdir((dir + "/Data").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/Data/Map").c_str(), 0755), 0);
  // The game names "data//map//earth3.3DS"; the folders on disk are
  // "Data/Map", as the model's own lookup finds them.
  std::string named = dir + "/data//map//earth3.3DS";
  makeTwoObjectModel(ModelTable[4], named.c_str(), 0.0f);
  std::string cached = dir + "/Data/Map/earth3.3DS.pmap";

  // A write cut short (here by a file-size limit, as by a full disk) leaves
  // no partial file behind, which every later start would refuse.
  rlimit previousLimit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
  rlimit small = previousLimit;
  small.rlim_cur = 16;
  void (*previousSignal)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  testing::internal::CaptureStdout();
  buildCollisionMesh(4);
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &previousLimit), 0);
  signal(SIGXFSZ, previousSignal);
  EXPECT_NE(access(cached.c_str(), F_OK), 0) << "a cut-short pmap was left in Data/Map";
  remove(cached.c_str());

  testing::internal::CaptureStdout();
  buildCollisionMesh(4);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Precomputing [" + named + ".pmap]...  OK\n");
  EXPECT_GT(fileSize(cached.c_str()), 0u);
  testing::internal::CaptureStdout();
  buildCollisionMesh(4);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the second start reads the cache";
  EXPECT_TRUE(collisionMesh->hasPMap());

  remove(cached.c_str());
  rmdir((dir + "/Data/Map").c_str());
  rmdir((dir + "/Data").c_str());
  rmdir(dir.c_str());
}

// A file longer than any pmap is refused before it is read: no pmap, nothing
// printed, and no memory taken for it.
TEST(PhysicsGame, PMapFileLongerThanAnyPMapIsRefusedUnread) {
  ASSERT_TRUE(initPhysicsWorld());
  std::string dir = scratchDir();
  std::string path = dir + "/long.3DS";
  makeTwoObjectModel(ModelTable[4], path.c_str(), 0.0f);
  std::string cached = path + ".pmap";
  // Sparse: it costs no disk.
  fclose(fopen(cached.c_str(), "wb"));
  ASSERT_EQ(truncate(cached.c_str(), off_t(NX_PMAP_MAX_BYTES) + 1), 0);
  resetPeakResident();
  const long before = peakResidentKb();
  testing::internal::CaptureStdout();
  buildCollisionMesh(4);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_NE(collisionMesh, nullptr);
  EXPECT_FALSE(collisionMesh->hasPMap());
  EXPECT_LT(peakResidentKb() - before, long(NX_PMAP_MAX_BYTES / 1024 / 2)) << "kB taken";
  remove(cached.c_str());
  rmdir(dir.c_str());
}

// Every OBJECT chunk becomes an object, lights and cameras too, with no
// vertices and no vertex array; the collision mesh is the meshes' alone.
TEST(PhysicsGame, PlanetWithALightAndACameraObject) {
  using namespace bytes3ds;
  ASSERT_TRUE(initPhysicsWorld());
  std::string dir = scratchDir();
  std::string path = dir + "/planet.3DS";
  const std::string tetrahedron =
      vertices({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {0, 0, 4}}) + faces({{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
  const std::string light = chunk(0x4000, name("Light01") + chunk(0x4600, f32(1) + f32(2) + f32(3)));
  const std::string camera = chunk(0x4000, name("Camera01") + chunk(0x4700, std::string(32, 0)));
  std::ofstream(path, std::ios::binary) << file3ds(light + object("Planet", tetrahedron) + camera);
  ModelTable[4] = Model_3DS();
  ASSERT_TRUE(ModelTable[4].readFile(path.c_str()));
  ASSERT_EQ(ModelTable[4].nb_obj, 3);
  ASSERT_EQ(ModelTable[4].objects[0].vertexCount, 0);

  testing::internal::CaptureStdout();
  buildCollisionMesh(4);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Precomputing [" + path + ".pmap]...  OK\n");
  ASSERT_NE(collisionMesh, nullptr);
  EXPECT_EQ(collisionMesh->getCount(0), 4u);
  EXPECT_EQ(collisionMesh->getCount(1), 4u);
  EXPECT_EQ(meshIndices[0], 0u) << "no vertex base from the light";
  EXPECT_EQ(meshVertices[3], 4.0f);
  EXPECT_TRUE(collisionMesh->hasPMap());
  remove((path + ".pmap").c_str());
  remove(path.c_str());
  rmdir(dir.c_str());
}

TEST(PhysicsGame, ShipAndPlanetActorsTouchAndReport) {
  ASSERT_TRUE(initPhysicsWorld());
  resetGameState();
  std::string dir = scratchDir();
  std::string path = dir + "/solid.3DS";
  // The ship's model has a face with a NaN vertex: that face is left out, the
  // rest makes the ship's actor, drawn and touching like any other.
  std::string shipPath = dir + "/ship.3DS";
  makeTwoObjectModel(ModelTable[1], shipPath.c_str(), 0.0f, true);
  makeTwoObjectModel(ModelTable[2], path.c_str(), 0.0f);
  testing::internal::CaptureStdout();
  buildCollisionMesh(1);
  createShipActor(1);
  buildCollisionMesh(2);
  createMeshActor(2, true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "file '" + shipPath +
                "' is damaged: 1 face(s) with a vertex that is not a finite number left out of its collision mesh\n"
                "Precomputing [" + shipPath + ".pmap]...  OK\nPrecomputing [" + path + ".pmap]...  OK\n");

  ASSERT_EQ(scene->getNbActors(), 2u);
  NxActor* ship = scene->getActors()[0];
  NxActor* planet = scene->getActors()[1];
  EXPECT_EQ(ship, shipActor);
  EXPECT_EQ(static_cast<MyNXWrapper*>(ship->userData)->getType(), 0);
  EXPECT_EQ(static_cast<MyNXWrapper*>(ship->userData)->modelSlot, 1);
  EXPECT_EQ(static_cast<ActorObject*>(ship)->mesh->getCount(1), 8u);
  EXPECT_EQ(static_cast<MyNXWrapper*>(planet->userData)->getType(), 2);
  EXPECT_EQ(scene->getActorPairFlags(*ship, *planet), 14u);
  // The ship starts where the flight state puts it, not inside the planet.
  EXPECT_EQ(ship->getGlobalPosition().z, gameState.shipZ);
  EXPECT_EQ(ship->getGlobalPosition().y, gameState.altitude);

  // Far apart: no report; the ship floats, the planet stays put.
  ship->setGlobalPosition(NxVec3(0, 50, 0));
  gameState.speed = 40;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 3; ++i) {
    scene->simulate(0.1f);
    scene->flushStream();
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(ship->getGlobalPosition().y, 50.0f);
  EXPECT_EQ(planet->getGlobalPosition().y, -5.0f);

  // Into the planet, a frame inside, then out again.
  const float heights[] = {-4.5f, -4.6f, 50.0f};
  std::string printed;
  for (float y : heights) {
    ship->setGlobalPosition(NxVec3(0.2f, y, 0.2f));
    testing::internal::CaptureStdout();
    scene->simulate(0.02f);
    scene->flushStream();
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    printed += testing::internal::GetCapturedStdout();
  }
  EXPECT_EQ(printed, "\nStart touch\nOn touch\nOn touch\nEnd touch\n\n");
  EXPECT_EQ(gameState.speed, -2);
  EXPECT_EQ(static_cast<MyNXWrapper*>(planet->userData)->contactFlags, 4u);
  remove((shipPath + ".pmap").c_str());
  remove((path + ".pmap").c_str());
  rmdir(dir.c_str());
}

TEST(PhysicsGame, ContactReportMarksPresentSidesAndActsOnTheMask) {
  ActorObject withObject, bare;
  MyNXAvatar avatar(&withObject, 1);
  withObject.userData = &avatar;
  NxContactPair pair;
  pair.actors[0] = &bare;  // an actor without a user object is left alone
  pair.actors[1] = &withObject;

  gameState.speed = 30;
  testing::internal::CaptureStdout();
  contactReport.onContactNotify(pair, 4);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "End touch\n\n");
  EXPECT_EQ(gameState.speed, 30);
  EXPECT_EQ(avatar.contactFlags, 4u);

  testing::internal::CaptureStdout();
  contactReport.onContactNotify(pair, 2 | 8 | 4);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nStart touch\nOn touch\nEnd touch\n\n");
  EXPECT_EQ(gameState.speed, -2);
  EXPECT_EQ(avatar.contactFlags, 14u);
}

}  // namespace
