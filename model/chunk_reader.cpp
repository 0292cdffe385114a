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
// second editor chunk adds its materials and objects after those of the first.
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
    ModelMaterial* grown = new ModelMaterial[first + newMaterials]();
    for (int m = 0; m < first; ++m) grown[m] = materials[m];
    for (int m = first; m < first + newMaterials; ++m) {
      grown[m].textured = false;
      memset(grown[m].color, 255, 4);
    }
    delete[] materials;
    materials = grown;
    materialCount = first + newMaterials;
    int material = first;
    for (long pos = start; nextChunk(stream, pos, end, chunk, nullptr); pos += chunk.length) {
      if (chunk.id == MATERIAL) readMaterialChunk(chunk.length, chunk.data, material++);
    }
  }

  if (newObjects > 0) {
    int first = nb_obj;
    ModelObject* grown = new ModelObject[first + newObjects]();  // zero: no arrays, counts 0
    if (first > 0) memcpy(grown, objects, sizeof(ModelObject) * first);
    delete[] objects;
    objects = grown;
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
    if (chunk.id == TEX_COORDS && !(chunksSeen[object] & SEEN_TEX_COORDS)) {
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

void Model_3DS::readTexCoords(uint32_t length, long start, int object) {
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
// Only the first face chunk of an object counts.
void Model_3DS::readFaces(uint32_t length, long start, int object) {
  if (chunksSeen[object] & SEEN_FACES) return;
  chunksSeen[object] |= SEEN_FACES;
  ModelObject& obj = objects[object];
  long end = start + length - 6;
  uint16_t n = 0;
  if (!readCount(stream, start, end, n)) ++damage;
  n = recordsThatFit(start + 2, end, 8, n, damage);
  faceScratch.resize(4 * static_cast<size_t>(n));
  if (n > 0) n = readRecords(stream, faceScratch.data(), 8, n, damage);
  faceSlot.assign(n, -1);

  int kept = 0;
  for (int f = 0; f < n; ++f) {
    const uint16_t* face = &faceScratch[4 * f];
    if (face[0] < obj.vertexCount && face[1] < obj.vertexCount && face[2] < obj.vertexCount) {
      faceSlot[f] = kept++;
    }
  }
  if (kept < n) ++damage;
  if (kept > 0) {
    obj.faceIndices = new uint16_t[3 * kept];
    obj.faceIndexCount = 3 * kept;
    for (int f = 0; f < n; ++f) {
      if (faceSlot[f] < 0) continue;
      const uint16_t* face = &faceScratch[4 * f];
      uint16_t* stored = obj.faceIndices + 3 * faceSlot[f];
      stored[0] = face[0];
      stored[1] = face[1];
      stored[2] = face[2];
      addFaceNormal(obj.vertices, obj.normals, face[0], face[1], face[2]);
    }
  }

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
  grp.material = -1;
  for (int m = 0; m < materialCount; ++m) {
    if (strcmp(materials[m].name, name) == 0) {
      grp.material = m;
      break;
    }
  }

  uint16_t n = 0;
  if (!readCount(stream, pos, end, n)) ++damage;
  n = recordsThatFit(pos + 2, end, 2, n, damage);
  std::vector<uint16_t> numbers(n);
  if (n > 0) n = readRecords(stream, numbers.data(), 2, n, damage);

  int kept = 0;
  for (int k = 0; k < n; ++k) {
    if (numbers[k] < faceSlot.size() && faceSlot[numbers[k]] >= 0) ++kept;
  }
  if (kept < n) ++damage;
  if (kept > 0) {
    grp.indices = new uint16_t[3 * kept];
    grp.indexCount = 3 * kept;
    uint16_t* out = grp.indices;
    for (int k = 0; k < n; ++k) {
      if (numbers[k] >= faceSlot.size() || faceSlot[numbers[k]] < 0) continue;
      const uint16_t* face = obj.faceIndices + 3 * faceSlot[numbers[k]];
      *out++ = face[0];
      *out++ = face[1];
      *out++ = face[2];
    }
  }
  fseek(stream, start, SEEK_SET);
}
