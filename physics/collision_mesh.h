// Collision meshes of the models, each with its pmap cached in a ".pmap"
// file beside the model, or in the user's cache folder when the model's
// folder is read-only.
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
// a pmap: read from "<model path>.pmap" when that file opens, else from the
// same path under the user's cache folder (cacheFolder), otherwise computed at
// resolution 64 ("Precomputing [<file>]...  OK") and written beside the model,
// or under the cache folder when that write fails (a read-only data folder).
// A block read from either place that does not fit the mesh is refused. A
// model with no triangles gives no mesh and prints nothing. Faces with a
// vertex that is not a finite number are left out of the mesh, and a line
// says how many. Every .pmap is written whole or not at all (replaceFile).
void buildCollisionMesh(int slot);

// Builds the mesh of ModelTable[slot] as buildCollisionMesh does, computes
// its pmap and writes it beside the model whatever is there already: for the
// build, which ships the .pmap files with the data so that the installed game
// never writes into its data folder. False when any step fails.
bool writePMapBesideModel(int slot);

// Size in bytes of the named file, 0 when it cannot be opened.
uint32_t fileSize(const char* path);
