// The physics world: the SDK and the one scene, created at start-up and never
// released.
#pragma once

#include "platform/nx/nx.h"

extern NxPhysicsSDK* physicsSDK;
extern NxScene* scene;

// Creates the SDK, its parameters and material, and the scene. Returns false
// when the SDK cannot be created; the game then runs with no scene.
bool initPhysicsWorld();
