// The walkers of the chunk tree down to the meshes: main, editor, object,
// mesh, vertices, texture coordinates, faces and face-material groups.
// Every walker is given a chunk's length (never past its parent's end) and the
// file position of its data, reads nothing outside that range and leaves the
// file at that position.
#include <cstring>

#include "model/chunk_io.h"
#include "model/model_3ds.h"

namespace {
enum : uint8_t { SEEN_VERTICES = 1, SEEN_TEX_COORDS = 2, SEEN_FACES = 4 };
}

void Model_3DS::readMainChunk(uint32_t length, long start) {
  long end = start + length - 6;
  ChunkHeader chunk;
  for (long pos = start; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == EDITOR) readEditorChunk(chunk.length, chunk.data);
  }
  fseek(stream, start, SEEK_SET);
}

// All materials are read before any object, so that face-material groups
// find their material by name wherever the material stands in the file. A
// second editor chunk adds its materials and objects after those of the first
// (the arrays grow by doubling, so many editor chunks cost linear time).
void Model_3DS::readEditorChunk(uint32_t length, long start) {
  long end = start + length - 6;
  ChunkHeader chunk;
  int newObjects = 0, newMaterials = 0;
  for (long pos = start; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == OBJECT) ++newObjects;
    if (chunk.id == MATERIAL) ++newMaterials;
  }

  if (newMaterials > 0) {
    int first = materialCount;
    if (first + newMaterials > materialCapacity) {
      materialCapacity = first + newMaterials > 2 * materialCapacity ? first + newMaterials : 2 * materialCapacity;
      ModelMaterial* grown = new ModelMaterial[materialCapacity]();
      for (int m = 0; m < first; ++m) grown[m] = materials[m];
      delete[] materials;
      materials = grown;
    }
    for (int m = first; m < first + newMaterials; ++m) {
      materials[m].textured = false;
      memset(materials[m].color, 255, 4);
    }
    materialCount = first + newMaterials;
    int material = first;
    for (long pos = start; nextChunk(stream, pos, end, chunk, nullptr); pos += chunk.length) {
      if (chunk.id == MATERIAL) readMaterialChunk(chunk.length, chunk.data, material++);
    }
    // Groups look materials up by name; the first of a name wins.
    for (int m = first; m < materialCount; ++m) materialByName.emplace(materials[m].name, m);
  }

  if (newObjects > 0) {
    int first = nb_obj;
    if (first + newObjects > objectCapacity) {
      objectCapacity = first + newObjects > 2 * objectCapacity ? first + newObjects : 2 * objectCapacity;
      ModelObject* grown = new ModelObject[objectCapacity]();  // zero: no arrays, counts 0
      if (first > 0) memcpy(grown, objects, sizeof(ModelObject) * first);
      delete[] objects;
      objects = grown;
    }
    nb_obj = first + newObjects;
    chunksSeen.resize(nb_obj, 0);
    int object = first;
    for (long pos = start; nextChunk(stream, pos, end, chunk, nullptr); pos += chunk.length) {
      if (chunk.id == OBJECT) readObjectChunk(chunk.length, chunk.data, object++);
    }
  }
  fseek(stream, start, SEEK_SET);
}

void Model_3DS::readObjectChunk(uint32_t length, long start, int object) {
  long end = start + length - 6;
  long pos = readName(stream, start, end, objects[object].name, &damage);
  ChunkHeader chunk;
  for (; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == MESH) readMeshChunk(chunk.length, chunk.data, object);
  }
  fseek(stream, start, SEEK_SET);
}

// Vertices and texture coordinates first, faces in a second pass, so the
// vertices exist when the faces add up their normals.
void Model_3DS::readMeshChunk(uint32_t length, long start, int object) {
  long end = start + length - 6;
  ChunkHeader chunk;
  for (long pos = start; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == VERTICES) readVertices(chunk.length, chunk.data, object);
    if (chunk.id == TEX_COORDS) {
      readTexCoords(chunk.length, chunk.data, object);
      objects[object].textured = true;
    }
  }
  for (long pos = start; nextChunk(stream, pos, end, chunk, nullptr); pos += chunk.length) {
    if (chunk.id == FACES) readFaces(chunk.length, chunk.data, object);
  }
  fseek(stream, start, SEEK_SET);
}

// Reads up to `count` records of `size` bytes at the current position into
// `out`; returns how many whole records arrived, counting a shortfall as damage.
static uint16_t readRecords(FILE* file, void* out, size_t size, uint16_t count, int32_t& damage) {
  size_t got = fread(out, size, count, file);
  if (got < count) ++damage;
  return static_cast<uint16_t>(got);
}

// How many records of `size` bytes fit between `pos` and `end`, at most `count`.
static uint16_t recordsThatFit(long pos, long end, size_t size, uint16_t count, int32_t& damage) {
  long room = (end - pos) / static_cast<long>(size);
  if (room < count) {
    ++damage;
    return static_cast<uint16_t>(room);
  }
  return count;
}

// Only the first vertex chunk of an object counts: faces already checked
// against its vertices must stay valid.
void Model_3DS::readVertices(uint32_t length, long start, int object) {
  if (chunksSeen[object] & SEEN_VERTICES) return;
  chunksSeen[object] |= SEEN_VERTICES;
  ModelObject& obj = objects[object];
  long end = start + length - 6;
  uint16_t n = 0;
  if (!readCount(stream, start, end, n)) ++damage;
  n = recordsThatFit(start + 2, end, 12, n, damage);
  if (n > 0) {
    float* vertices = new float[3 * n];
    n = readRecords(stream, vertices, 12, n, damage);
    // The file's z-up axes become y-up: (f0, f1, f2) -> (f0, f2, -f1).
    for (int k = 0; k < n; ++k) {
      float fileY = vertices[3 * k + 1];
      vertices[3 * k + 1] = vertices[3 * k + 2];
      vertices[3 * k + 2] = -fileY;
    }
    if (n > 0) {
      obj.vertices = vertices;
      obj.normals = new float[3 * n]();
      obj.vertexCount = n;
    } else {
      delete[] vertices;
    }
  }
  fseek(stream, start, SEEK_SET);
}

// Only the first texture-coordinate chunk of an object counts.
void Model_3DS::readTexCoords(uint32_t length, long start, int object) {
  if (chunksSeen[object] & SEEN_TEX_COORDS) return;
  chunksSeen[object] |= SEEN_TEX_COORDS;
  ModelObject& obj = objects[object];
  long end = start + length - 6;
  uint16_t n = 0;
  if (!readCount(stream, start, end, n)) ++damage;
  n = recordsThatFit(start + 2, end, 8, n, damage);
  if (n > 0) {
    float* texCoords = new float[2 * n];
    n = readRecords(stream, texCoords, 8, n, damage);
    if (n > 0) {
      obj.texCoords = texCoords;
      obj.texCoordCount = n;
    } else {
      delete[] texCoords;
    }
  }
  fseek(stream, start, SEEK_SET);
}

// Adds the unnormalised normal of triangle (a, b, c) to its three vertices,
// so each face weighs by its area.
static void addFaceNormal(const float* vertices, float* normals, int a, int b, int c) {
  const float* p1 = vertices + 3 * a;
  const float* p2 = vertices + 3 * b;
  const float* p3 = vertices + 3 * c;
  float ux = p2[0] - p1[0], uy = p2[1] - p1[1], uz = p2[2] - p1[2];
  float wx = p3[0] - p1[0], wy = p3[1] - p1[1], wz = p3[2] - p1[2];
  float nx = uy * wz - uz * wy;
  float ny = uz * wx - ux * wz;
  float nz = ux * wy - uy * wx;
  for (int index : {a, b, c}) {
    normals[3 * index] += nx;
    normals[3 * index + 1] += ny;
    normals[3 * index + 2] += nz;
  }
}

// A face naming a vertex the object does not have is dropped (and counted as
// damage); face numbers of the groups are mapped past the dropped faces.
// Only the first face chunk of an object counts. Faces and face numbers are
// read in blocks through a small buffer that stays in the cache.
void Model_3DS::readFaces(uint32_t length, long start, int object) {
  if (chunksSeen[object] & SEEN_FACES) return;
  chunksSeen[object] |= SEEN_FACES;
  ModelObject& obj = objects[object];
  long end = start + length - 6;
  uint16_t n = 0;
  if (!readCount(stream, start, end, n)) ++damage;
  n = recordsThatFit(start + 2, end, 8, n, damage);

  faceSlot.clear();  // empty while every face is kept: face f is stored as face f
  int kept = 0, read = 0;
  if (n > 0) obj.faceIndices = new uint16_t[3 * n];
  uint16_t block[4 * 1024];
  while (read < n) {
    size_t want = n - read < 1024 ? size_t(n - read) : 1024;
    size_t got = fread(block, 8, want, stream);
    for (size_t i = 0; i < got; ++i) {
      const uint16_t* face = block + 4 * i;
      if (face[0] < obj.vertexCount && face[1] < obj.vertexCount && face[2] < obj.vertexCount) {
        if (!faceSlot.empty()) faceSlot.push_back(kept);
        uint16_t* stored = obj.faceIndices + 3 * kept++;
        stored[0] = face[0];
        stored[1] = face[1];
        stored[2] = face[2];
        addFaceNormal(obj.vertices, obj.normals, face[0], face[1], face[2]);
      } else {
        if (faceSlot.empty()) {
          faceSlot.resize(read + i);  // every face before this one was kept in place
          for (size_t f = 0; f < faceSlot.size(); ++f) faceSlot[f] = int32_t(f);
        }
        faceSlot.push_back(-1);
      }
    }
    read += int(got);
    if (got < want) {
      ++damage;
      break;
    }
  }
  facesRead = read;
  if (kept < read) ++damage;
  if (kept == 0) {
    delete[] obj.faceIndices;
    obj.faceIndices = nullptr;
  }
  obj.faceIndexCount = 3 * kept;

  // The face-material groups follow the face list.
  long groupsStart = start + 2 + 8L * n;
  ChunkHeader chunk;
  int groups = 0;
  for (long pos = groupsStart; nextChunk(stream, pos, end, chunk, &damage); pos += chunk.length) {
    if (chunk.id == FACE_GROUP) ++groups;
  }
  if (groups > 0) {
    obj.groups = new FaceGroup[groups]();
    obj.groupCount = groups;
    int group = 0;
    for (long pos = groupsStart; nextChunk(stream, pos, end, chunk, nullptr); pos += chunk.length) {
      if (chunk.id == FACE_GROUP) readFaceGroup(chunk.length, chunk.data, object, group++);
    }
  }
  fseek(stream, start, SEEK_SET);
}

// Finds the material by name (first match, case-sensitive); a name that
// matches none leaves material -1. Face numbers past the face list, or naming
// a dropped face, are skipped and counted as damage.
void Model_3DS::readFaceGroup(uint32_t length, long start, int object, int group) {
  ModelObject& obj = objects[object];
  FaceGroup& grp = obj.groups[group];
  long end = start + length - 6;
  char name[80];
  long pos = readName(stream, start, end, name, &damage);
  auto found = materialByName.find(name);
  grp.material = found == materialByName.end() ? -1 : found->second;

  uint16_t n = 0;
  if (!readCount(stream, pos, end, n)) ++damage;
  n = recordsThatFit(pos + 2, end, 2, n, damage);
  int kept = 0, read = 0;
  if (n > 0) grp.indices = new uint16_t[3 * n];
  uint16_t block[2048];
  while (read < n) {
    size_t want = n - read < 2048 ? size_t(n - read) : 2048;
    size_t got = fread(block, 2, want, stream);
    for (size_t i = 0; i < got; ++i) {
      int f = block[i];
      int slot = f >= facesRead ? -1 : faceSlot.empty() ? f : faceSlot[f];
      if (slot < 0) continue;
      const uint16_t* face = obj.faceIndices + 3 * slot;
      uint16_t* out = grp.indices + 3 * kept++;
      out[0] = face[0];
      out[1] = face[1];
      out[2] = face[2];
    }
    read += int(got);
    if (got < want) {
      ++damage;
      break;
    }
  }
  if (kept < read) ++damage;
  if (kept == 0) {
    delete[] grp.indices;
    grp.indices = nullptr;
  }
  grp.indexCount = 3 * kept;
  fseek(stream, start, SEEK_SET);
}
