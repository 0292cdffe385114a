#include "physics/actors.h"

// Collision meshes and actors need a physics scene; none exists yet.
void buildCollisionMesh(int) {}
void createShipActor(int) {}
void createMeshActor(int, bool) {}
