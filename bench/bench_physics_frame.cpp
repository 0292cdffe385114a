// One frame's physics as the game makes it, without drawing: the ship's
// actor posed from the flight state, the step (simulate, flush, fetch) with
// its contact report, and the actor walk's clearing of the contact marks;
// with the ship far from the planet, touching the surface and wholly inside
// it, and close to its surface without touching, where the exact inside test
// places the ship's vertices that fall in pmap cells beside the surface (the
// frames run with it, argument 1, and with the cells' answer alone, 0, as
// before the test). Also the collision set-up of start-up (both meshes) with and without
// the .pmap cache. The generated fighter and planet are read from the build's data.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/actors.h"
#include "app/game_state.h"
#include "model/gl_texture.h"
#include "model/model_table.h"
#include "physics/actors.h"
#include "physics/world.h"
#include "physics/wrappers.h"
#include "platform/nx/nx_objects.h"

namespace {

GLuint noImage(const char*) { return 0; }

std::string scratch;

// Reads the generated models into slots 1 and 4, with their collision caches
// in a scratch folder rather than beside the build's data.
void loadModels() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  GLTexture::imageLoader = noImage;
  char pattern[] = "/tmp/vekotra-bench-XXXXXX";
  scratch = mkdtemp(pattern);
  const std::string data = VEKOTRA_GAME_DIR;
  ModelTable[1].readFile((data + "/data/Tolvar2/TolvarFight2_mini.3ds").c_str());
  ModelTable[4].readFile((data + "/data/map/earth3.3DS").c_str());
  static std::string fighter = scratch + "/fighter.3ds", planet = scratch + "/earth3.3DS";
  ModelTable[1].modelname = fighter.c_str();
  ModelTable[4].modelname = planet.c_str();
}

void removeCaches() {
  remove((scratch + "/fighter.3ds.pmap").c_str());
  remove((scratch + "/earth3.3DS.pmap").c_str());
}

// Console output goes nowhere while a benchmark runs: the contact report
// prints at every touching step.
struct QuietStdout {
  int saved;
  QuietStdout() {
    fflush(stdout);
    saved = dup(1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~QuietStdout() {
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
  }
};

void buildWorld() {
  QuietStdout quiet;
  initPhysicsWorld();
  buildCollisionMesh(1);
  createShipActor(1);
  buildCollisionMesh(4);
  createMeshActor(4, true);
}

// The frame's physics: step, then the walk that poses the ship and clears
// every actor's contact marks.
void physicsFrame() {
  scene->simulate(1.0f / 60.0f);
  scene->flushStream();
  scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
  NxU32 count = scene->getNbActors();
  NxActor** actors = scene->getActors();
  for (NxU32 i = 0; i < count; ++i) {
    MyNXWrapper* object = static_cast<MyNXWrapper*>(actors[i]->userData);
    if (object == nullptr) continue;
    if (object->getType() == 0) poseShipActor(*object);
    object->contactFlags = 0;
  }
}

// Whether the ship touches the planet with the flight state at z: the frame
// poses the ship, the next step reports on it.
bool touchingAt(float z) {
  gameState.shipZ = z;
  physicsFrame();
  scene->simulate(1.0f / 60.0f);
  scene->flushStream();
  scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
  MyNXWrapper* ship = static_cast<MyNXWrapper*>(shipActor->userData);
  bool touching = (ship->contactFlags & NX_NOTIFY_ON_TOUCH) != 0;
  ship->contactFlags = 0;
  return touching;
}

// The connected parts of each actor's mesh: one vertex of each is tested
// against the other's pmap while no surfaces cross.
void labelParts(benchmark::State& state) {
  NxActor** actors = scene->getActors();
  state.SetLabel(std::string(nxExactNearSurface ? "exact near the surface" : "pmap cell alone") +
                 "; parts: ship " + std::to_string(static_cast<ActorObject*>(actors[0])->mesh->partVertices.size()) +
                 ", planet " +
                 std::to_string(static_cast<ActorObject*>(actors[1])->mesh->partVertices.size()));
}

// The inside test near surfaces: exact (1) or the pmap cell's answer (0).
void setInsideTest(benchmark::State& state) {
  nxExactNearSurface = state.range(0) != 0;
  state.SetLabel(nxExactNearSurface ? "exact near the surface" : "pmap cell alone");
}

// Where the fighter, flying level at the planet's centre along -z, first
// meets the surface: the last z with a touch, found by halving.
float firstTouchZ() {
  float apart = 400.0f, inside = 0.0f;
  for (int i = 0; i < 40; ++i) {
    float mid = 0.5f * (apart + inside);
    (touchingAt(mid) ? inside : apart) = mid;
  }
  return inside;
}

void BM_FrameShipFar(benchmark::State& state) {
  setInsideTest(state);
  loadModels();
  buildWorld();
  resetGameState();  // the start position, 250 units from the planet's centre
  QuietStdout quiet;
  for (auto _ : state) physicsFrame();
  labelParts(state);
}
BENCHMARK(BM_FrameShipFar)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FrameShipTouching(benchmark::State& state) {
  setInsideTest(state);
  loadModels();
  buildWorld();
  resetGameState();
  gameState.altitude = -5.0f;  // level with the planet's centre, flying at it along -z
  QuietStdout quiet;
  // A little deeper than the first touch, so the surfaces cross.
  float inside = firstTouchZ();
  gameState.shipZ = inside - 0.05f;
  for (auto _ : state) physicsFrame();
  if (!touchingAt(inside - 0.05f)) state.SkipWithError("the ship does not touch the planet");
}
BENCHMARK(BM_FrameShipTouching)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Half a unit short of the first touch (found with the exact test), flying at
// the planet 60 units above its centre so the surface is slanted: the
// fighter's vertices lie in pmap cells the surface crosses.
void BM_FrameShipNearSurface(benchmark::State& state) {
  loadModels();
  buildWorld();
  resetGameState();
  gameState.altitude = 55.0f;
  QuietStdout quiet;
  nxExactNearSurface = true;
  float z = firstTouchZ() + 0.5f;
  setInsideTest(state);
  gameState.shipZ = z;
  for (auto _ : state) physicsFrame();
  if (nxExactNearSurface && touchingAt(z)) state.SkipWithError("the ship touches the planet");
}
BENCHMARK(BM_FrameShipNearSurface)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The fighter wholly inside the planet, no surfaces crossing: the pmaps
// decide, one vertex of each of the fighter's parts tested, in cells deep
// inside.
void BM_FrameShipInside(benchmark::State& state) {
  setInsideTest(state);
  loadModels();
  buildWorld();
  resetGameState();
  gameState.altitude = -5.0f;  // the planet's centre
  gameState.shipZ = 0.0f;
  QuietStdout quiet;
  for (auto _ : state) physicsFrame();
  if (!touchingAt(0.0f)) state.SkipWithError("the ship inside the planet does not touch it");
}
BENCHMARK(BM_FrameShipInside)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Start-up's collision set-up: both meshes built and their pmaps computed
// and written (first start) or read back (later starts).
void BM_CollisionSetup(benchmark::State& state) {
  loadModels();
  bool cached = state.range(0) != 0;
  QuietStdout quiet;
  initPhysicsWorld();
  removeCaches();
  buildCollisionMesh(1);
  buildCollisionMesh(4);
  for (auto _ : state) {
    if (!cached) {
      state.PauseTiming();
      removeCaches();
      state.ResumeTiming();
    }
    buildCollisionMesh(1);
    buildCollisionMesh(4);
  }
  removeCaches();
  state.SetLabel(cached ? "with .pmap files" : "first start, computing them");
}
BENCHMARK(BM_CollisionSetup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
