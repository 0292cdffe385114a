// Construction of a model, the load sequence and the steps that finish a
// model once its file is read.
#include "model/model_3ds.h"

#include <cmath>
#include <cstring>
#include <string>

#include "model/chunk_io.h"
#include "platform/os/os.h"

Model_3DS::Model_3DS()
    : modelname(nullptr),
      folder(new char[80]()),
      nb_obj(0),
      materialCount(0),
      tot_verts(0),
      tot_faces(0),
      showNormals(false),
      materials(nullptr),
      objects(nullptr),
      position{0, 0, 0},
      rotation{0, 0, 0},
      scale(1.0f),
      lit(true),
      visible(true),
      displayList(0),
      stream(nullptr),
      damage(0) {}

void Model_3DS::setPath(const char* path) {
  // A path written between double quotes loses them: it becomes its first
  // run of characters that are not double quotes.
  modelname = path;
  if (strchr(path, '"')) {
    const char* begin = path + strspn(path, "\"");
    size_t size = strcspn(begin, "\"");
    delete[] ownedName;
    ownedName = new char[size + 1];
    memcpy(ownedName, begin, size);
    ownedName[size] = 0;
    modelname = ownedName;
  }

  // The folder keeps its trailing separator, '/' or '\' whichever comes last.
  const char* slash = strrchr(modelname, '/');
  const char* backslash = strrchr(modelname, '\\');
  const char* last = slash > backslash ? slash : backslash;
  if (last) {
    size_t size = static_cast<size_t>(last - modelname) + 1;
    delete[] folder;
    folder = new char[size + 1];
    memcpy(folder, modelname, size);
    folder[size] = 0;
  }
}

void Model_3DS::load(const char* path) {
  if (!readFile(path)) {
    std::string message = std::string("file '") + modelname + "' not found";
    showMessage(true, "ERROR", message.c_str());
    return;  // reached only when showMessage does not end the process
  }
  if (damage > 0) {
    printf("file '%s' is damaged: %d part(s) could not be read whole\n", modelname, damage);
  }
  makeSolidColorTextures();
  createDisplayList();
}

bool Model_3DS::readFile(const char* path) {
  setPath(path);
  FILE* file = openFile(modelname, "rb");
  if (!file) return false;
  stream = file;
  readOpenStream();
  return true;
}

void Model_3DS::readStream(FILE* file, const char* path) {
  setPath(path);
  stream = file;
  readOpenStream();
}

void Model_3DS::readOpenStream() {
  // The first chunk is walked as the main chunk whatever its id; anything
  // after it is ignored.
  long size = 0;
  if (fseek(stream, 0, SEEK_END) == 0) size = ftell(stream);
  ChunkHeader root;
  if (nextChunk(stream, 0, size, root, &damage)) readMainChunk(root.length, root.data);
  else if (size == 0) ++damage;  // an empty file is no model either

  fclose(stream);
  stream = nullptr;
  finishMesh();
}

void Model_3DS::finishMesh() {
  normalizeNormals();

  tot_verts = 0;
  tot_faces = 0;
  for (int o = 0; o < nb_obj; ++o) {
    tot_faces += objects[o].faceIndexCount / 3;
    tot_verts += objects[o].vertexCount;
  }

  for (int o = 0; o < nb_obj; ++o) {
    ModelObject& obj = objects[o];
    if (obj.texCoordCount == 0 && obj.vertexCount > 0) {
      // Planar projection along z: (x, y) of each vertex.
      obj.texCoords = new float[2 * obj.vertexCount];
      for (int k = 0; k < obj.vertexCount; ++k) {
        obj.texCoords[2 * k] = obj.vertices[3 * k];
        obj.texCoords[2 * k + 1] = obj.vertices[3 * k + 1];
      }
      obj.texCoordCount = obj.vertexCount;
    } else if (obj.texCoordCount < obj.vertexCount) {
      // Fewer coordinates than vertices: the display list reads one pair per
      // vertex, so the missing ones are added as (0, 0).
      float* grown = new float[2 * obj.vertexCount]();
      memcpy(grown, obj.texCoords, sizeof(float) * 2 * obj.texCoordCount);
      delete[] obj.texCoords;
      obj.texCoords = grown;
      obj.texCoordCount = obj.vertexCount;
      ++damage;
    }
  }

  chunksSeen.clear();
  faceSlot.clear();
  materialByName.clear();
}

void Model_3DS::normalizeNormals() {
  for (int o = 0; o < nb_obj; ++o) {
    float* normals = objects[o].normals;
    for (int k = 0; k < objects[o].vertexCount; ++k) {
      float* n = normals + 3 * k;
      float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      if (length == 0) length = 1;
      n[0] /= length;
      n[1] /= length;
      n[2] /= length;
    }
  }
}

void Model_3DS::makeSolidColorTextures() {
  for (int m = 0; m < materialCount; ++m) {
    ModelMaterial& mat = materials[m];
    if (mat.textured) continue;
    mat.texture.makeSolidColor(mat.color[0], mat.color[1], mat.color[2]);
    mat.textured = true;
  }
}

void releaseModel(Model_3DS& model) {
  for (int o = 0; o < model.nb_obj; ++o) {
    ModelObject& obj = model.objects[o];
    delete[] obj.vertices;
    delete[] obj.normals;
    delete[] obj.texCoords;
    delete[] obj.faceIndices;
    for (int g = 0; g < obj.groupCount; ++g) delete[] obj.groups[g].indices;
    delete[] obj.groups;
  }
  delete[] model.objects;
  for (int m = 0; m < model.materialCount; ++m) {
    delete[] model.materials[m].texture.name;
    if (model.materials[m].textured && model.materials[m].texture.id != 0) {
      glDeleteTextures(1, &model.materials[m].texture.id);
    }
  }
  delete[] model.materials;
  delete[] model.folder;
  if (model.displayList != 0) glDeleteLists(model.displayList, 1);
  delete[] model.ownedName;
  model = Model_3DS();
  delete[] model.folder;  // a null folder reads as the empty text
  model.folder = nullptr;
}
