#include "model/model_check.h"

#include <cstring>

static bool fail(std::string* problem, const std::string& what) {
  if (problem) *problem = what;
  return false;
}

static bool terminated(const char* name) {
  return memchr(name, 0, 80) != nullptr;
}

static bool checkObject(const Model_3DS& model, int o, std::string* problem) {
  const ModelObject& obj = model.objects[o];
  std::string at = "object " + std::to_string(o) + ": ";
  if (!terminated(obj.name)) return fail(problem, at + "name without its zero byte");
  if (obj.vertexCount < 0 || obj.vertexCount > 65535) return fail(problem, at + "vertexCount out of range");
  if ((obj.vertexCount == 0) != (obj.vertices == nullptr)) return fail(problem, at + "vertices do not match vertexCount");
  if ((obj.vertexCount == 0) != (obj.normals == nullptr)) return fail(problem, at + "normals do not match vertexCount");
  if (obj.texCoordCount < obj.vertexCount) return fail(problem, at + "fewer texture coordinates than vertices");
  if ((obj.texCoordCount == 0) != (obj.texCoords == nullptr)) return fail(problem, at + "texCoords do not match texCoordCount");
  if (obj.faceIndexCount < 0 || obj.faceIndexCount % 3 != 0) return fail(problem, at + "faceIndexCount not a multiple of 3");
  if ((obj.faceIndexCount == 0) != (obj.faceIndices == nullptr)) return fail(problem, at + "faceIndices do not match faceIndexCount");
  for (int i = 0; i < obj.faceIndexCount; ++i) {
    if (obj.faceIndices[i] >= obj.vertexCount) return fail(problem, at + "face index past the vertices");
  }
  if (obj.groupCount < 0 || (obj.groupCount == 0) != (obj.groups == nullptr)) {
    return fail(problem, at + "groups do not match groupCount");
  }
  for (int g = 0; g < obj.groupCount; ++g) {
    const FaceGroup& group = obj.groups[g];
    std::string groupAt = at + "group " + std::to_string(g) + ": ";
    if (group.indexCount < 0 || group.indexCount % 3 != 0) return fail(problem, groupAt + "indexCount not a multiple of 3");
    if ((group.indexCount == 0) != (group.indices == nullptr)) return fail(problem, groupAt + "indices do not match indexCount");
    for (int i = 0; i < group.indexCount; ++i) {
      if (group.indices[i] >= obj.vertexCount) return fail(problem, groupAt + "index past the vertices");
    }
    if (group.material < -1 || group.material >= model.materialCount) return fail(problem, groupAt + "material out of range");
  }
  return true;
}

bool checkModel(const Model_3DS& model, std::string* problem) {
  if (model.nb_obj < 0 || (model.nb_obj == 0) != (model.objects == nullptr)) {
    return fail(problem, "objects do not match nb_obj");
  }
  if (model.materialCount < 0 || (model.materialCount == 0) != (model.materials == nullptr)) {
    return fail(problem, "materials do not match materialCount");
  }
  long verts = 0, faces = 0;
  for (int o = 0; o < model.nb_obj; ++o) {
    if (!checkObject(model, o, problem)) return false;
    verts += model.objects[o].vertexCount;
    faces += model.objects[o].faceIndexCount / 3;
  }
  if (verts != model.tot_verts || faces != model.tot_faces) return fail(problem, "totals do not add up");
  for (int m = 0; m < model.materialCount; ++m) {
    if (!terminated(model.materials[m].name)) {
      return fail(problem, "material " + std::to_string(m) + ": name without its zero byte");
    }
  }
  return true;
}
