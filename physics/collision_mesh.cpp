#include "physics/collision_mesh.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/game_state.h"
#include "model/model_table.h"
#include "physics/world.h"
#include "platform/os/os.h"

NxTriangleMesh* collisionMesh = nullptr;
float* meshVertices = nullptr;
uint32_t* meshIndices = nullptr;

uint32_t fileSize(const char* path) {
  FILE* file = openFile(path, "rb");
  if (file == nullptr) return 0;
  long size = -1;
  if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
  fclose(file);
  // A size the block cannot hold is no pmap of ours; it reads as empty.
  return size > 0 && static_cast<unsigned long>(size) <= 0xFFFFFFFFul ? static_cast<uint32_t>(size) : 0;
}

static bool finiteVertex(const float* v) {
  return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// Flattens the model's objects into one vertex array and one index array,
// each object's indices moved past the vertices of the objects before it.
// A face with a corner that is not a finite number (a damaged file) has no
// place in space: it is left out. Returns the number of faces kept.
static uint32_t flattenModel(const Model_3DS& model) {
  meshVertices = new float[static_cast<size_t>(model.tot_verts) * 3];
  meshIndices = new uint32_t[static_cast<size_t>(model.tot_faces) * 3];
  size_t floatPos = 0, indexPos = 0;
  uint32_t vertexBase = 0;
  for (int i = 0; i < model.nb_obj; ++i) {
    const ModelObject& object = model.objects[i];
    // Lights and cameras are objects too, with no vertices and no array.
    if (object.vertexCount > 0) {
      memcpy(meshVertices + floatPos, object.vertices, static_cast<size_t>(object.vertexCount) * 3 * sizeof(float));
    }
    for (int k = 0; k + 2 < object.faceIndexCount; k += 3) {
      const uint16_t* face = object.faceIndices + k;
      if (!finiteVertex(object.vertices + 3 * face[0]) || !finiteVertex(object.vertices + 3 * face[1]) ||
          !finiteVertex(object.vertices + 3 * face[2]))
        continue;
      for (int c = 0; c < 3; ++c) meshIndices[indexPos++] = static_cast<uint32_t>(face[c]) + vertexBase;
    }
    floatPos += static_cast<size_t>(object.vertexCount) * 3;
    vertexBase += static_cast<uint32_t>(object.vertexCount);
  }
  return static_cast<uint32_t>(indexPos / 3);
}

// Reads the open file as one block of fileSize bytes and loads it into the
// mesh. A block the SDK refuses leaves the mesh without a pmap; nothing is
// reported. A file longer than any pmap is refused unread.
static void loadPMapFile(FILE* file, const char* path) {
  NxPMap pmap;
  pmap.dataSize = fileSize(path);
  if (pmap.dataSize > NX_PMAP_MAX_BYTES) pmap.dataSize = 0;
  pmap.data = pmap.dataSize > 0 ? malloc(pmap.dataSize) : nullptr;
  pmap.dataSize = pmap.data != nullptr ? static_cast<NxU32>(fread(pmap.data, 1, pmap.dataSize, file)) : 0;
  fclose(file);
  collisionMesh->loadPMap(pmap);
  free(pmap.data);
}

// The copy of a .pmap file in the user's cache folder, under the same
// relative path; empty when there is no cache folder.
static std::string cachedPMapPath(const char* path) {
  std::string folder = cacheFolder();
  return folder.empty() ? folder : folder + "/" + path;
}

// Opens the .pmap file for reading: beside the model, else the cache's copy.
// `opened` names the file that opened.
static FILE* openPMapFile(const char* path, std::string& opened) {
  opened = path;
  FILE* file = openFile(path, "rb");
  if (file != nullptr) return file;
  opened = cachedPMapPath(path);
  return opened.empty() ? nullptr : openFile(opened.c_str(), "rb");
}

// Writes the block as the file's whole content, through a temporary file
// renamed into place: a start killed while writing, or two starts writing at
// once, never leave a partial file, which every later start would refuse.
static bool writePMapFile(const char* path, const NxPMap& pmap) {
  return replaceFile(path, pmap.data, pmap.dataSize);
}

// Computes the pmap of collisionMesh, writes it to `path` or, when that fails
// (a read-only data folder) and `orCache` is set, to the cache's copy, and
// loads it into the mesh in any case. True when it was written to `path`.
static bool computePMap(const char* path, bool orCache) {
  NxPMap pmap;
  if (!NxCreatePMap(pmap, *collisionMesh, 64, nullptr)) return false;
  const bool written = writePMapFile(path, pmap);
  if (!written && orCache) {
    std::string cached = cachedPMapPath(path);
    if (!cached.empty() && makeParentFolders(cached)) writePMapFile(cached.c_str(), pmap);
  }
  collisionMesh->loadPMap(pmap);
  NxReleasePMap(pmap);
  return written;
}

// computePMap beside the model, else in the cache, between the console's
// "Precomputing" and "OK".
static void computePMapFile(const char* path) {
  printf("Precomputing [%s]... ", path);
  fflush(stdout);
  computePMap(path, true);
  // Flushed at once: with the console going to a file or a pipe the finished
  // line would otherwise wait for the first status line.
  printf(" OK\n");
  fflush(stdout);
}

// Flattens the model, creates its mesh and stores it in collisionMesh;
// false when there is none (no faces, inconsistent totals, or the SDK
// refused it).
static bool createCollisionMesh(const Model_3DS& model) {
  collisionMesh = nullptr;
  if (model.modelname == nullptr || model.tot_verts <= 0 || model.tot_faces <= 0) return false;
  // The totals size the arrays; they must be the objects' own sums, and
  // every index must address its object's vertices.
  long long vertices = 0, indices = 0;
  for (int i = 0; i < model.nb_obj; ++i) {
    const ModelObject& object = model.objects[i];
    vertices += object.vertexCount;
    indices += object.faceIndexCount;
    for (int k = 0; k < object.faceIndexCount; ++k)
      if (object.faceIndices[k] >= object.vertexCount) return false;
  }
  if (vertices != model.tot_verts || indices != 3LL * model.tot_faces) return false;
  const uint32_t faces = flattenModel(model);
  if (faces < static_cast<uint32_t>(model.tot_faces)) {
    printf("file '%s' is damaged: %d face(s) with a vertex that is not a finite number left out of its "
           "collision mesh\n",
           model.modelname, model.tot_faces - static_cast<int>(faces));
  }

  NxTriangleMeshDesc meshDesc;
  meshDesc.numVertices = static_cast<NxU32>(model.tot_verts);
  meshDesc.numTriangles = faces;
  meshDesc.pointStrideBytes = 12;
  meshDesc.triangleStrideBytes = 12;
  meshDesc.points = meshVertices;
  meshDesc.triangles = meshIndices;
  meshDesc.flags = 0;
  meshDesc.materialIndexStride = 0;
  meshDesc.materialIndices = nullptr;
  meshDesc.heightFieldVerticalAxis = 255;
  meshDesc.heightFieldVerticalExtent = 0.0f;
  meshDesc.pmap = nullptr;
  meshDesc.convexEdgeThreshold = 0.001f;
  meshDesc.reserved = 0;
  collisionMesh = physicsSDK->createTriangleMesh(meshDesc);
  return collisionMesh != nullptr;
}

// The model's pmap file, "<model file>.pmap", in the game's text buffer.
static const char* pmapFileName(const Model_3DS& model) {
  char* name = gameState.textBuffer;
  snprintf(name, sizeof gameState.textBuffer, "%s.pmap", model.modelname);
  return name;
}

void buildCollisionMesh(int slot) {
  const Model_3DS model = ModelTable[slot];  // member-wise copy; the arrays are shared
  if (!createCollisionMesh(model)) return;

  const char* name = pmapFileName(model);
  std::string opened;
  FILE* file = openPMapFile(name, opened);
  if (file != nullptr) {
    loadPMapFile(file, opened.c_str());
    // The cache folder's copy is the game's own, out of the player's sight:
    // one that no longer matches its model (the installed data was upgraded,
    // the copy damaged) is computed and written afresh, where a refused file
    // beside the model is left for its owner.
    if (opened != name && !collisionMesh->hasPMap()) computePMapFile(name);
  } else {
    computePMapFile(name);
  }
}

bool writePMapBesideModel(int slot) {
  const Model_3DS model = ModelTable[slot];
  return createCollisionMesh(model) && computePMap(pmapFileName(model), false);
}
