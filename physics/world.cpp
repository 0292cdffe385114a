#include "physics/world.h"

NxPhysicsSDK* physicsSDK = nullptr;
NxScene* scene = nullptr;

bool initPhysicsWorld() {
  // No collision engine is linked yet: the game runs without a scene, so the
  // frame skips the physics step and the actor loop.
  return true;
}
