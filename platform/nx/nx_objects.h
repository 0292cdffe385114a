// The objects behind the SDK's interfaces. Internal to the physics stand-in;
// tests and benchmarks may include it to look inside.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/nx/box_tree.h"
#include "platform/nx/geometry.h"
#include "platform/nx/nx.h"
#include "platform/nx/solid_map.h"

struct MeshObject : NxTriangleMesh {
  MeshGeometry geometry;
  BoxTree* tree = nullptr;
  uint64_t fingerprint = 0;
  SolidMap solid;  // resolution 0 while the mesh has no pmap
  std::vector<uint32_t> partVertices;  // one vertex of each connected part

  bool loadPMap(const NxPMap& pmap) override;
  bool hasPMap() const override { return solid.resolution != 0; }
  NxU32 getCount(int what) const override;
};

struct ActorObject : NxActor {
  MeshObject* mesh = nullptr;
  Pose shapePose;  // the shape's pose in the actor's frame
  Pose pose;       // the actor's global pose
  Vec3 velocity{0, 0, 0};
  bool dynamic = false;
  NxU32 bodyFlags = 0;

  void raiseBodyFlag(NxBodyFlag flag) override;
  bool readBodyFlag(NxBodyFlag flag) const override;
  bool isDynamic() const override { return dynamic; }
  NxMat34 getGlobalPose() const override;
  NxVec3 getGlobalPosition() const override;
  NxMat33 getGlobalOrientation() const override;
  void setGlobalPosition(const NxVec3& position) override;
  void setGlobalOrientation(const NxMat33& orientation) override;
  void setLinearVelocity(const NxVec3& v) override;
  NxVec3 getLinearVelocity() const override;

  // True when gravity and velocity move the actor during a sub-step.
  bool integrated() const { return dynamic && (bodyFlags & NX_BF_KINEMATIC) == 0; }
  // The mesh's pose in the world: the actor's pose, then the shape's.
  Pose meshPose() const;
};

// An actor pair with notification flags, and whether it touched at the last
// step.
struct ActorPair {
  ActorObject* first;
  ActorObject* second;
  NxU32 flags;
  bool touching;
};

struct SceneObject : NxScene {
  NxSceneDesc desc;
  std::vector<ActorObject*> actors;
  std::vector<NxActor*> actorList;  // what getActors hands out
  std::vector<ActorPair> pairs;
  float pendingTime = 0.0f;      // time below one fixed sub-step, kept for the next step
  uint32_t lastSubSteps = 0;     // sub-steps made by the last simulate
  QueryCounters counters;        // collision work of every step so far
  // Notifications found by simulate, delivered by fetchResults.
  struct Pending {
    ActorObject* first;
    ActorObject* second;
    NxU32 events;
  };
  std::vector<Pending> pending;

  explicit SceneObject(const NxSceneDesc& d) : desc(d) {}
  NxActor* createActor(const NxActorDesc& d) override;
  NxU32 getNbActors() const override { return static_cast<NxU32>(actors.size()); }
  NxActor** getActors() override { return actorList.empty() ? nullptr : actorList.data(); }
  void setActorPairFlags(NxActor& first, NxActor& second, NxU32 flags) override;
  NxU32 getActorPairFlags(NxActor& first, NxActor& second) const override;
  void getGravity(NxVec3& gravity) const override { gravity = desc.gravity; }
  void simulate(NxReal elapsedTime) override;
  void flushStream() override {}
  bool fetchResults(NxSimulationStatus status, bool block) override;
};

// True when the two actors' meshes touch: their surfaces intersect, or one
// lies wholly inside the other according to the other's pmap, made exact
// near the other's surface.
bool actorsTouch(const ActorObject& a, const ActorObject& b, QueryCounters* counters);

// On (the default): a point in a pmap cell beside a cell of the other answer
// is placed by the exact inside test. Off: by the cell's answer alone, which
// is off by up to a cell near the surface; for the benchmark that compares.
extern bool nxExactNearSurface;

Pose poseFromMat34(const NxMat34& m);
