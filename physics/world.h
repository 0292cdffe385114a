// The physics world: the SDK and the one scene, created at start-up and never
// released.
#pragma once

#include "platform/nx/nx.h"

extern NxPhysicsSDK* physicsSDK;
extern NxScene* scene;

// Creates the SDK (version 2.1.2), sets the skin-width parameter and the
// default material, and creates the scene with gravity, fixed 1/60 s steps
// (at most 8 per frame) and the contact report. Returns false when the SDK
// cannot be created: the game then runs with no scene and no models.
bool initPhysicsWorld();
