// A 3DS model in memory: objects with their meshes, normals, texture
// coordinates and face-material groups, the materials with their textures,
// and the display list that draws it all.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/gl_texture.h"

// One material chunk of the file. After Model_3DS::load every material has a
// texture (`textured` set): its map file, or a 2 x 2 texture of `color`.
struct ModelMaterial {
  char name[80];          // zero-terminated; empty when the file gives none
  GLTexture texture;
  bool textured;
  unsigned char color[4]; // red, green, blue, alpha; (255, 255, 255, 255) until a colour chunk is read
};

// Triangles of one object drawn with one material: vertex indices, 3 per
// triangle, every one below the object's vertexCount.
struct FaceGroup {
  uint16_t* indices;
  int32_t indexCount;
  int32_t material;       // index into Model_3DS::materials; -1 when the group
                          // names no material of the model (drawn untextured)
};

// One object chunk: a triangle mesh. Arrays are null exactly when their count
// is 0. Every face index is below vertexCount. After loading, texCoords holds
// at least vertexCount pairs.
struct ModelObject {
  char name[80];          // zero-terminated
  float* vertices;        // x, y, z per vertex, y up (file's (f0, f1, f2) stored as (f0, f2, -f1))
  float* normals;         // x, y, z per vertex: unit length, or 0 for a vertex no face uses
  float* texCoords;       // u, v per entry
  uint16_t* faceIndices;  // 3 vertex indices per face, in file order
  int32_t faceIndexCount; // 3 x number of faces
  int32_t groupCount;
  int32_t vertexCount;
  int32_t texCoordCount;
  bool textured;          // the file gave texture coordinates
  FaceGroup* groups;
  float position[3];      // translation applied to each group when drawing
  float rotation[3];      // not applied
};

// A loaded model. Copies share every array (member-wise copy); the destructor
// releases nothing (nor the textures, nor the display list), so a copy may
// come and go while the source stays usable. Models live until the process
// ends; only tests and tools free one, with releaseModel.
class Model_3DS {
 public:
  Model_3DS();
  virtual ~Model_3DS() {}

  // Reads the 3DS file `path` and finishes the model: normals, totals,
  // default texture coordinates, solid-colour textures, display list. Keeps
  // `path` as `modelname` (no copy unless double quotes had to be cut), so
  // the text must outlive the model. A file that cannot be opened shows
  // "file '<path>' not found" in a box captioned "ERROR" and ends the process
  // with status 0. Needs the GL context (the image library started: initImageLibrary).
  void load(const char* path);

  // The part of load that needs no GL context: path and folder, reading,
  // normals, modelname, totals, default texture coordinates (texture map
  // files are still requested through GLTexture::imageLoader). Returns false,
  // having read nothing, when the file cannot be opened.
  bool readFile(const char* path);
  // Reads an already open 3DS stream (closing it) and finishes the mesh as
  // readFile does; `path` becomes `modelname` and gives `folder`.
  void readStream(FILE* file, const char* path);

  // Gives every material still without a texture a 2 x 2 texture of its colour.
  void makeSolidColorTextures();
  // Compiles the display list into `displayList` (once per model).
  void createDisplayList();
  // glCallList(displayList); a model never loaded (list 0) draws nothing.
  void draw();
  // Scales every vertex normal to unit length (zero normals stay zero).
  void normalizeNormals();

  const char* modelname;  // not owned; null until loaded
  char* folder;           // owned; the path's folder with its trailing separator, or ""
  int32_t nb_obj;
  int32_t materialCount;
  int32_t tot_verts;
  int32_t tot_faces;
  bool showNormals;
  ModelMaterial* materials;
  ModelObject* objects;
  float position[3];
  float rotation[3];
  float scale;
  bool lit;
  bool visible;
  GLuint displayList;
  FILE* stream;           // open only while reading
  int32_t damage;         // malformed spots met while reading: 0 for a well-formed file

  // The 3DS chunk ids the reader interprets; every other id is skipped.
  // SPECULAR is searched for a map file exactly like TEXTURE_MAP.
  enum : uint16_t {
    MAIN = 0x4D4D, EDITOR = 0x3D3D, OBJECT = 0x4000, MESH = 0x4100,
    VERTICES = 0x4110, FACES = 0x4120, FACE_GROUP = 0x4130, TEX_COORDS = 0x4140,
    MATERIAL = 0xAFFF, MATERIAL_NAME = 0xA000, COLOR = 0xA020, SPECULAR = 0xA030,
    TEXTURE_MAP = 0xA200, MAP_FILE = 0xA300,
    COLOR_FLOAT = 0x0010, COLOR_BYTE = 0x0011, COLOR_BYTE_GAMMA = 0x0012, COLOR_FLOAT_GAMMA = 0x0013,
  };

 private:
  // Chunk walkers: each takes the chunk's length and the file position of its
  // data, and leaves the file at that position.
  void readMainChunk(uint32_t length, long start);
  void readEditorChunk(uint32_t length, long start);
  void readObjectChunk(uint32_t length, long start, int object);
  void readMeshChunk(uint32_t length, long start, int object);
  void readVertices(uint32_t length, long start, int object);
  void readTexCoords(uint32_t length, long start, int object);
  void readFaces(uint32_t length, long start, int object);
  void readFaceGroup(uint32_t length, long start, int object, int group);
  void readMaterialChunk(uint32_t length, long start, int material);
  void readMaterialName(uint32_t length, long start, int material);
  void readColorChunk(uint32_t length, long start, int material);
  void readFloatColor(uint32_t length, long start, int material);
  void readByteColor(uint32_t length, long start, int material);
  void readTextureMapChunk(uint32_t length, long start, int material);
  void readMapFileName(uint32_t length, long start, int material);

  friend void releaseModel(Model_3DS& model);

  // Walks the file in `stream` as a 3DS chunk tree, closes it, finishes the mesh.
  void readOpenStream();
  // Cuts double quotes off `path`, sets `modelname` and `folder` from it.
  void setPath(const char* path);
  // Steps after the file is closed that need no GL: normals, totals, texture
  // coordinates for every vertex.
  void finishMesh();

  char* ownedName = nullptr;          // modelname when quotes had to be cut
  // Scratch of one load: which of vertices (1), texture coordinates (2) and
  // faces (4) each object already got; how many faces the face chunk being
  // read had, and where each went in faceIndices (-1: dropped), the list
  // staying empty while no face was dropped.
  std::vector<uint8_t> chunksSeen;
  int32_t facesRead = 0;
  std::vector<int32_t> faceSlot;
  // Room in the object and material arrays (at least nb_obj, materialCount),
  // and the index of the first material of each name.
  int32_t objectCapacity = 0;
  int32_t materialCapacity = 0;
  std::unordered_map<std::string, int32_t> materialByName;
};

// Frees every array, text and the display list of a model loaded by this
// process, for tests and tools that load many; the game never calls it. No
// copy of the model may be used afterwards. The model is left empty, with a
// null `folder`, and may be loaded again.
void releaseModel(Model_3DS& model);
