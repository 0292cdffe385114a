#include "physics/actors.h"

#include "app/game_state.h"
#include "physics/world.h"
#include "physics/wrappers.h"

NxActor* shipActor = nullptr;

// The actor of `collisionMesh` at `position`: one triangle-mesh shape, a
// dynamic body, density 1. Null when there is no mesh or the SDK refuses it.
static NxActor* createMeshBody(const NxVec3& position) {
  if (scene == nullptr || collisionMesh == nullptr) return nullptr;

  NxTriangleMeshShapeDesc shapeDesc;
  shapeDesc.localPose.id();
  shapeDesc.shapeFlags = NX_SF_VISUALIZATION;
  shapeDesc.group = 0;
  shapeDesc.materialIndex = 0;
  shapeDesc.userData = nullptr;
  shapeDesc.name = nullptr;
  shapeDesc.meshData = collisionMesh;

  NxBodyDesc bodyDesc;
  bodyDesc.massLocalPose.id();
  bodyDesc.massSpaceInertia = NxVec3(0, 0, 0);
  bodyDesc.mass = 0.0f;
  bodyDesc.linearVelocity = NxVec3(0, 0, 0);
  bodyDesc.angularVelocity = NxVec3(0, 0, 0);
  bodyDesc.wakeUpCounter = 0.4f;
  bodyDesc.linearDamping = 0.0f;
  bodyDesc.angularDamping = 0.0f;
  bodyDesc.maxAngularVelocity = 0.0f;
  bodyDesc.flags = NX_BF_VISUALIZATION;
  bodyDesc.sleepLinearVelocity = -1.0f;
  bodyDesc.sleepAngularVelocity = -1.0f;
  bodyDesc.solverIterationCount = 4;

  NxActorDesc actorDesc;
  actorDesc.globalPose.id();
  actorDesc.globalPose.t = position;
  actorDesc.body = &bodyDesc;
  actorDesc.density = 1.0f;
  actorDesc.flags = 0;
  actorDesc.group = 0;
  actorDesc.userData = nullptr;
  actorDesc.name = nullptr;
  actorDesc.shapes.push_back(&shapeDesc);
  return scene->createActor(actorDesc);
}

void createShipActor(int slot) {
  shipActor = createMeshBody(NxVec3(0.0f, 0.0f, 0.0f));
  // A ship the SDK refused is simply absent: it is neither posed nor drawn.
  if (shipActor == nullptr) return;
  shipActor->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
  shipActor->userData = new MyNXAvatar(shipActor, slot);
  // The first frame steps the scene before it poses the ship from the flight
  // state. Left at the origin, inside the planet, the ship would report a
  // touch (and be thrown back) at start-up; it starts where it flies from.
  const GameState& g = gameState;
  shipActor->setGlobalPosition(NxVec3(g.shipX, g.altitude, g.shipZ));
}

void createMeshActor(int slot, bool kinematic) {
  NxActor* actor = createMeshBody(NxVec3(0.0f, -5.0f, 0.0f));
  if (actor == nullptr) return;
  if (kinematic) actor->raiseBodyFlag(NX_BF_KINEMATIC);
  actor->userData = new MyNX3DS(actor, slot);
  if (shipActor != nullptr) {
    scene->setActorPairFlags(*shipActor, *actor,
                             NX_NOTIFY_ON_START_TOUCH | NX_NOTIFY_ON_END_TOUCH | NX_NOTIFY_ON_TOUCH);
  }
}
