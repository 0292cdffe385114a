// vekotra_pmaps DIRECTORY: computes the collision caches of the game's two
// collision models, the fighter (slot 1) and the planet (slot 4), and writes
// them beside the models under DIRECTORY, the game's working directory, as
// the game's first start would: the same reader, the same mesh, the same
// file names. The package ships them, so the installed game never writes
// into its data folder.
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "model/gl_texture.h"
#include "model/model_table.h"
#include "physics/collision_mesh.h"
#include "physics/world.h"

// The collision meshes need no pictures.
static GLuint noImage(const char*) { return 0; }

// Each build replaces the mesh and arrays of the one before, which the game
// keeps for its whole run; kept here too, they stay reachable for a leak
// checker.
static struct {
  NxTriangleMesh* mesh;
  float* vertices;
  uint32_t* indices;
} built[2];

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s DIRECTORY\n", argc > 0 ? argv[0] : "vekotra_pmaps");
    return 2;
  }
  if (chdir(argv[1]) != 0) {
    perror(argv[1]);
    return 1;
  }
  GLTexture::imageLoader = noImage;
  if (!initPhysicsWorld()) {
    fprintf(stderr, "vekotra_pmaps: the physics SDK did not start\n");
    return 1;
  }
  const int slots[] = {1, 4};
  for (int k = 0; k < 2; ++k) {
    const int slot = slots[k];
    const char* path = modelPath(slot);
    if (!ModelTable[slot].readFile(path) || ModelTable[slot].damage != 0) {
      fprintf(stderr, "vekotra_pmaps: cannot read %s/%s\n", argv[1], path);
      return 1;
    }
    if (!writePMapBesideModel(slot)) {
      fprintf(stderr, "vekotra_pmaps: cannot write %s/%s.pmap\n", argv[1], path);
      return 1;
    }
    built[k] = {collisionMesh, meshVertices, meshIndices};
  }
  return 0;
}
