#include "physics/world.h"

#include "physics/contact_report.h"

NxPhysicsSDK* physicsSDK = nullptr;
NxScene* scene = nullptr;

static const NxVec3 gravity(0.0f, -9.81f, 0.0f);

bool initPhysicsWorld() {
  physicsSDK = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION, nullptr, nullptr);
  if (physicsSDK == nullptr) return false;

  physicsSDK->setParameter(NX_SKIN_WIDTH, -0.01f);

  NxMaterial defaultMaterial;
  defaultMaterial.restitution = 0.0f;
  defaultMaterial.staticFriction = 1.0f;
  defaultMaterial.dynamicFriction = 1.0f;
  physicsSDK->setMaterialAtIndex(0, &defaultMaterial);

  NxSceneDesc sceneDesc;
  sceneDesc.broadPhase = 2;
  sceneDesc.gravity = gravity;
  sceneDesc.userNotify = nullptr;
  sceneDesc.userTriggerReport = nullptr;
  sceneDesc.userContactReport = &contactReport;
  sceneDesc.maxTimestep = 1.0f / 60.0f;
  sceneDesc.maxIter = 8;
  sceneDesc.timeStepMethod = NX_TIMESTEP_FIXED;
  sceneDesc.maxBounds = nullptr;
  sceneDesc.limits = nullptr;
  sceneDesc.groundPlane = false;
  sceneDesc.boundsPlanes = false;
  sceneDesc.collisionDetection = true;
  sceneDesc.userData = nullptr;
  scene = physicsSDK->createScene(sceneDesc);
  return true;
}
