// The two physics actors of the scene: the player's ship and the planet.
#pragma once

#include "physics/collision_mesh.h"
#include "platform/nx/nx.h"

// The ship's actor; null until created, or when the SDK refused it.
extern NxActor* shipActor;

// Creates the ship's actor from the current collisionMesh, gravity off, with
// a MyNXAvatar drawing model `slot`, and puts it at the flight state's
// position so that the first step does not find it inside the planet.
void createShipActor(int slot);
// Creates a mesh actor from the current collisionMesh at (0, -5, 0), with a
// MyNX3DS drawing model `slot`; kinematic actors are moved only by their
// pose. Contacts between it and the ship are reported (start, touch, end).
void createMeshActor(int slot, bool kinematic);
