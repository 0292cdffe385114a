// The collision meshes and the two physics actors of the scene.
#pragma once

// Builds the collision mesh of a model slot, with its cached pmap.
void buildCollisionMesh(int slot);
// The ship's actor, driven by the flight state.
void createShipActor(int slot);
// A mesh actor for a model slot; kinematic actors stay where they are put.
void createMeshActor(int slot, bool kinematic);
