// Collision meshes of the models, each with its pmap cached in a ".pmap"
// file beside the model.
#pragma once

#include <cstdint>

#include "platform/nx/nx.h"

// The mesh of the most recent build (null when the SDK refused it); the next
// actor created uses it.
extern NxTriangleMesh* collisionMesh;
// The flat arrays of the most recent build, kept for the life of the process.
extern float* meshVertices;     // 3 floats per vertex, object after object
extern uint32_t* meshIndices;   // 3 indices per triangle, into meshVertices

// Builds one triangle mesh from every object of ModelTable[slot] and gives it
// a pmap: read from "<model path>.pmap" when that file opens, otherwise
// computed at resolution 64 ("Precomputing [<file>]...  OK") and written
// there. A model with no triangles gives no mesh and prints nothing.
void buildCollisionMesh(int slot);

// Size in bytes of the named file, 0 when it cannot be opened.
uint32_t fileSize(const char* path);
