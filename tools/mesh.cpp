#include "tools/mesh.h"

#include <cmath>
#include <utility>

Point3 operator+(Point3 a, Point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Point3 operator-(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3 operator*(Point3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
Point3 cross(Point3 a, Point3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

uint16_t MeshBuilder::vertex(Point3 p, float u, float v) {
  points.push_back(p);
  uv.push_back(u);
  uv.push_back(v);
  return static_cast<uint16_t>(points.size() - 1);
}

void MeshBuilder::triangle(uint16_t a, uint16_t b, uint16_t c, Point3 inside) {
  Point3 pa = points[a], pb = points[b], pc = points[c];
  Point3 normal = cross(pb - pa, pc - pa);
  Point3 centroid = (pa + pb + pc) * (1.0f / 3.0f);
  if (dot(normal, centroid - inside) < 0) std::swap(b, c);
  TdsGroup* group = nullptr;
  for (TdsGroup& g : groups) {
    if (g.material == material) group = &g;
  }
  if (group == nullptr) {
    groups.push_back(TdsGroup{material, {}});
    group = &groups.back();
  }
  group->faces.push_back(static_cast<uint16_t>(triangles.size() / 3));
  triangles.push_back(a);
  triangles.push_back(b);
  triangles.push_back(c);
}

void addBox(MeshBuilder& mesh, Point3 centre, Point3 half) {
  // Each face: its normal axis and two in-plane axes.
  const Point3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int axis = 0; axis < 3; ++axis) {
    Point3 n = axes[axis], a = axes[(axis + 1) % 3], b = axes[(axis + 2) % 3];
    Point3 hn = {n.x * half.x, n.y * half.y, n.z * half.z};
    Point3 ha = {a.x * half.x, a.y * half.y, a.z * half.z};
    Point3 hb = {b.x * half.x, b.y * half.y, b.z * half.z};
    for (float side : {-1.0f, 1.0f}) {
      Point3 c = centre + hn * side;
      uint16_t v0 = mesh.vertex(c - ha - hb, 0, 0);
      uint16_t v1 = mesh.vertex(c + ha - hb, 1, 0);
      uint16_t v2 = mesh.vertex(c + ha + hb, 1, 1);
      uint16_t v3 = mesh.vertex(c - ha + hb, 0, 1);
      mesh.triangle(v0, v1, v2, centre);
      mesh.triangle(v0, v2, v3, centre);
    }
  }
}

static Point3 framePoint(const Frame& f, float t, float s, float w) {
  return f.origin + f.axis * t + f.side * s + f.up * w;
}

static void addCap(MeshBuilder& mesh, const Frame& frame, const Ring& ring, int sides,
                   Point3 inside) {
  uint16_t centre = mesh.vertex(framePoint(frame, ring.t, ring.cs, ring.cw), 0.5f, 0.5f);
  uint16_t first = 0, previous = 0;
  for (int k = 0; k <= sides; ++k) {
    float angle = 2.0f * static_cast<float>(M_PI) * static_cast<float>(k % sides) / sides;
    float c = std::cos(angle), s = std::sin(angle);
    uint16_t v = k < sides ? mesh.vertex(framePoint(frame, ring.t, ring.cs + ring.rs * c,
                                                    ring.cw + ring.rw * s),
                                         0.5f + 0.5f * c, 0.5f + 0.5f * s)
                           : first;
    if (k == 0) first = v;
    if (k > 0) mesh.triangle(centre, previous, v, inside);
    previous = v;
  }
}

void addLoft(MeshBuilder& mesh, const Frame& frame, const std::vector<Ring>& rings, int sides) {
  // Ring vertices: one per side, or a single tip vertex.
  std::vector<std::vector<uint16_t>> ringVertices;
  for (size_t i = 0; i < rings.size(); ++i) {
    const Ring& r = rings[i];
    float v = static_cast<float>(i) / static_cast<float>(rings.size() - 1);
    std::vector<uint16_t> ids;
    if (r.rs == 0 && r.rw == 0) {
      ids.push_back(mesh.vertex(framePoint(frame, r.t, r.cs, r.cw), 0.5f, v));
    } else {
      for (int k = 0; k < sides; ++k) {
        float angle = 2.0f * static_cast<float>(M_PI) * k / sides;
        ids.push_back(mesh.vertex(
            framePoint(frame, r.t, r.cs + r.rs * std::cos(angle), r.cw + r.rw * std::sin(angle)),
            mirroredU(k, sides), v));
      }
    }
    ringVertices.push_back(ids);
  }
  for (size_t i = 0; i + 1 < rings.size(); ++i) {
    const Ring &a = rings[i], &b = rings[i + 1];
    Point3 inside = framePoint(frame, 0.5f * (a.t + b.t), 0.5f * (a.cs + b.cs), 0.5f * (a.cw + b.cw));
    const std::vector<uint16_t>&ra = ringVertices[i], &rb = ringVertices[i + 1];
    for (int k = 0; k < sides; ++k) {
      int next = (k + 1) % sides;
      if (ra.size() == 1 && rb.size() == 1) break;
      if (ra.size() == 1) {
        mesh.triangle(ra[0], rb[k], rb[next], inside);
      } else if (rb.size() == 1) {
        mesh.triangle(ra[k], ra[next], rb[0], inside);
      } else {
        mesh.triangle(ra[k], ra[next], rb[next], inside);
        mesh.triangle(ra[k], rb[next], rb[k], inside);
      }
    }
  }
  Point3 middle = framePoint(frame, 0.5f * (rings.front().t + rings.back().t),
                           0.5f * (rings.front().cs + rings.back().cs),
                           0.5f * (rings.front().cw + rings.back().cw));
  if (ringVertices.front().size() > 1) addCap(mesh, frame, rings.front(), sides, middle);
  if (ringVertices.back().size() > 1) addCap(mesh, frame, rings.back(), sides, middle);
}

void addSlab(MeshBuilder& mesh, const std::vector<Point3>& outline, Point3 halfThickness) {
  Point3 centre = {0, 0, 0};
  for (Point3 p : outline) centre = centre + p;
  centre = centre * (1.0f / static_cast<float>(outline.size()));
  size_t n = outline.size();
  for (float side : {-1.0f, 1.0f}) {
    std::vector<uint16_t> face;
    for (Point3 p : outline) face.push_back(mesh.vertex(p + halfThickness * side));
    for (size_t k = 1; k + 1 < n; ++k) mesh.triangle(face[0], face[k], face[k + 1], centre);
  }
  for (size_t k = 0; k < n; ++k) {
    Point3 p = outline[k], q = outline[(k + 1) % n];
    uint16_t a = mesh.vertex(p - halfThickness), b = mesh.vertex(q - halfThickness);
    uint16_t c = mesh.vertex(q + halfThickness), d = mesh.vertex(p + halfThickness);
    mesh.triangle(a, b, c, centre);
    mesh.triangle(a, c, d, centre);
  }
}

float mirroredU(int j, int slices) {
  return 1.0f - std::fabs(2.0f * static_cast<float>(j) / static_cast<float>(slices) - 1.0f);
}

void addEllipsoid(MeshBuilder& mesh, Point3 centre, Point3 radii, int slices, int stacks) {
  const float pi = static_cast<float>(M_PI);
  auto at = [&](float latitude, float longitude) {
    return centre + Point3{radii.x * std::cos(latitude) * std::cos(longitude),
                         radii.y * std::sin(latitude),
                         -radii.z * std::cos(latitude) * std::sin(longitude)};
  };
  uint16_t south = mesh.vertex(at(-pi / 2, 0), 0.5f, 0.0f);
  std::vector<uint16_t> rows;  // (stacks - 1) rings of `slices` vertices
  for (int i = 1; i < stacks; ++i) {
    float v = static_cast<float>(i) / stacks;
    for (int j = 0; j < slices; ++j) {
      rows.push_back(mesh.vertex(at(pi * (v - 0.5f), 2 * pi * j / slices), mirroredU(j, slices), v));
    }
  }
  uint16_t north = mesh.vertex(at(pi / 2, 0), 0.5f, 1.0f);
  auto ring = [&](int i, int j) { return rows[(i - 1) * slices + (j % slices)]; };
  for (int j = 0; j < slices; ++j) {
    mesh.triangle(south, ring(1, j), ring(1, j + 1), centre);
    mesh.triangle(north, ring(stacks - 1, j + 1), ring(stacks - 1, j), centre);
    for (int i = 1; i + 1 < stacks; ++i) {
      mesh.triangle(ring(i, j), ring(i, j + 1), ring(i + 1, j + 1), centre);
      mesh.triangle(ring(i, j), ring(i + 1, j + 1), ring(i + 1, j), centre);
    }
  }
}

TdsObject toTdsObject(const MeshBuilder& mesh, const std::string& name, bool withTexCoords) {
  TdsObject object;
  object.name = name;
  for (Point3 p : mesh.points) {
    object.vertices.push_back(p.x);
    object.vertices.push_back(-p.z);
    object.vertices.push_back(p.y);
  }
  if (withTexCoords) object.texCoords = mesh.uv;
  object.faces = mesh.triangles;
  object.groups = mesh.groups;
  return object;
}
