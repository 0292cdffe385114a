#include "tools/model_triangles.h"

ModelTriangles modelTriangles(const TdsModel& model) {
  ModelTriangles out;
  for (const TdsObject& object : model.objects) {
    uint32_t base = static_cast<uint32_t>(out.points.size() / 3);
    for (size_t v = 0; v + 2 < object.vertices.size(); v += 3) {
      // File axes (f0, f1, f2) are game axes (f0, f2, -f1).
      out.points.insert(out.points.end(), {object.vertices[v], object.vertices[v + 2], -object.vertices[v + 1]});
    }
    for (uint16_t index : object.faces) out.triangles.push_back(base + index);
  }
  return out;
}
