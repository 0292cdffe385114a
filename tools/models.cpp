#include "tools/models.h"

#include "tools/mesh.h"

namespace {

TdsMaterial byteMaterial(const char* name, float r, float g, float b) {
  TdsMaterial m;
  m.name = name;
  m.color[0] = r, m.color[1] = g, m.color[2] = b;
  return m;
}

TdsMaterial floatMaterial(const char* name, float r, float g, float b) {
  TdsMaterial m = byteMaterial(name, r, g, b);
  m.floatColor = true;
  return m;
}

void translate(MeshBuilder& mesh, Point3 offset) {
  for (Point3& p : mesh.points) p = p + offset;
}

// A sphere with one textured material; `floatColor` picks the colour chunk.
TdsModel texturedSphere(const char* object, const char* material, const char* mapFile,
                        bool floatColor, float radius, Point3 centre, int slices, int stacks) {
  TdsModel model;
  TdsMaterial m = byteMaterial(material, 1, 1, 1);
  m.floatColor = floatColor;
  m.mapFile = mapFile;
  model.materials.push_back(m);
  MeshBuilder mesh;
  mesh.material = material;
  addEllipsoid(mesh, centre, {radius, radius, radius}, slices, stacks);
  model.objects.push_back(toTdsObject(mesh, object, true));
  return model;
}

}  // namespace

TdsModel makeFighter() {
  TdsModel model;
  model.materials = {
      byteMaterial("HULL", 0.74f, 0.76f, 0.80f),    floatMaterial("CANOPY", 0.15f, 0.45f, 0.95f),
      floatMaterial("WING", 0.52f, 0.56f, 0.64f),   floatMaterial("STRIPE", 0.9f, 0.12f, 0.1f),
      byteMaterial("ENGINE", 0.28f, 0.28f, 0.33f),  byteMaterial("GLOW", 1.0f, 0.55f, 0.1f),
  };
  const Point3 x = {1, 0, 0}, y = {0, 1, 0}, forward = {0, 0, -1};

  MeshBuilder body;
  body.material = "HULL";
  addLoft(body, Frame{{0, -0.1f, 0}, forward, x, y},
          {{1.05f, 0, 0, 0.10f, 0.08f},
           {1.2f, 0, 0, 0.13f, 0.10f},
           {1.6f, 0, 0, 0.15f, 0.12f},
           {2.0f, 0, 0, 0.12f, 0.10f},
           {2.3f, 0, -0.01f, 0.07f, 0.06f},
           {2.5f, 0, -0.02f, 0, 0}},
          12);
  // Tail fin, upright on the rear of the fuselage.
  addSlab(body, {{0, -0.02f, -1.12f}, {0, 0.22f, -1.08f}, {0, 0.22f, -1.2f}, {0, -0.02f, -1.45f}},
          {0.012f, 0, 0});
  body.material = "CANOPY";
  addEllipsoid(body, {0, -0.02f, -1.85f}, {0.07f, 0.07f, 0.22f}, 12, 8);

  MeshBuilder wings;
  for (float side : {-1.0f, 1.0f}) {
    wings.material = "WING";
    addSlab(wings,
            {{0.12f * side, -0.12f, -1.3f},
             {0.68f * side, -0.12f, -1.25f},
             {0.68f * side, -0.12f, -1.42f},
             {0.12f * side, -0.12f, -1.85f}},
            {0, 0.015f, 0});
    wings.material = "STRIPE";
    addBox(wings, {0.66f * side, -0.12f, -1.33f}, {0.03f, 0.025f, 0.1f});
  }

  MeshBuilder engines;
  for (float side : {-1.0f, 1.0f}) {
    Frame frame{{0.2f * side, -0.15f, 0}, forward, x, y};
    engines.material = "ENGINE";
    addLoft(engines, frame,
            {{1.0f, 0, 0, 0.065f, 0.065f},
             {1.1f, 0, 0, 0.075f, 0.075f},
             {1.55f, 0, 0, 0.07f, 0.07f},
             {1.65f, 0, 0, 0.035f, 0.035f}},
            10);
    engines.material = "GLOW";
    addLoft(engines, frame, {{0.97f, 0, 0, 0.05f, 0.05f}, {1.0f, 0, 0, 0.05f, 0.05f}}, 10);
  }

  // The whole ship a little further ahead, so its engines stay in view.
  const Point3 ahead = {0, 0, -0.3f};
  translate(body, ahead);
  translate(wings, ahead);
  translate(engines, ahead);
  model.objects.push_back(toTdsObject(body, "Fuselage", false));
  model.objects.push_back(toTdsObject(wings, "Wings", false));
  model.objects.push_back(toTdsObject(engines, "Engines", false));
  return model;
}

TdsModel makePlanet() {
  return texturedSphere("Earth", "EARTH", "EARTH3.BMP", false, 100, {0, 0, 0}, 48, 32);
}

TdsModel makeMars() {
  return texturedSphere("Mars", "MARS", "MARS.BMP", true, 60, {0, 0, 0}, 32, 20);
}

TdsModel makePluto() {
  return texturedSphere("Pluton", "PLUTON", "PLUTON.BMP", false, 40, {0, 0, 0}, 24, 16);
}

TdsModel makeMissile() {
  TdsModel model;
  model.materials = {byteMaterial("BODY", 0.9f, 0.9f, 0.92f), floatMaterial("NOSE", 0.85f, 0.1f, 0.1f),
                     byteMaterial("FIN", 0.35f, 0.35f, 0.4f), byteMaterial("FLAME", 1.0f, 0.6f, 0.15f)};
  const Point3 x = {1, 0, 0}, y = {0, 1, 0}, forward = {0, 0, -1};
  const Frame axis{{0, 0, 0}, forward, x, y};
  MeshBuilder mesh;
  mesh.material = "BODY";
  addLoft(mesh, axis, {{-150, 0, 0, 9, 9}, {-140, 0, 0, 11, 11}, {100, 0, 0, 11, 11}}, 12);
  mesh.material = "NOSE";
  addLoft(mesh, axis, {{100, 0, 0, 11, 11}, {130, 0, 0, 8, 8}, {150, 0, 0, 0, 0}}, 12);
  mesh.material = "FIN";
  const Point3 outward[4] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  for (Point3 out : outward) {
    Point3 across = {out.y, out.x, 0};  // the fin's thickness direction
    addSlab(mesh,
            {out * 10 + Point3{0, 0, 140}, out * 10 + Point3{0, 0, 95}, out * 35 + Point3{0, 0, 130},
             out * 35 + Point3{0, 0, 150}},
            across * 0.8f);
  }
  mesh.material = "FLAME";
  addLoft(mesh, axis, {{-166, 0, 0, 0, 0}, {-156, 0, 0, 6, 6}, {-150, 0, 0, 7, 7}}, 12);
  model.objects.push_back(toTdsObject(mesh, "Missile", false));
  return model;
}

TdsModel makeSatellite() {
  TdsModel model;
  model.materials = {byteMaterial("FOIL", 0.85f, 0.65f, 0.2f), floatMaterial("PANEL", 0.12f, 0.18f, 0.5f),
                     byteMaterial("STRUT", 0.6f, 0.6f, 0.62f), floatMaterial("DISH", 0.93f, 0.93f, 0.9f)};
  MeshBuilder mesh;
  mesh.material = "FOIL";
  addBox(mesh, {0, 0, 0}, {2.5f, 2.5f, 3});
  for (float side : {-1.0f, 1.0f}) {
    mesh.material = "STRUT";
    addBox(mesh, {3 * side, 0, 0}, {0.6f, 0.2f, 0.2f});
    mesh.material = "PANEL";
    addBox(mesh, {6.75f * side, 0, 0}, {3.25f, 0.12f, 2.2f});
  }
  const Frame up{{0, 2.5f, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
  mesh.material = "DISH";
  addLoft(mesh, up, {{0, 0, 0, 0.4f, 0.4f}, {0.6f, 0, 0, 0.6f, 0.6f}, {1.8f, 0, 0, 3.5f, 3.5f}}, 16);
  mesh.material = "STRUT";
  addLoft(mesh, up, {{1.8f, 0, 0, 0.15f, 0.15f}, {3.6f, 0, 0, 0.15f, 0.15f}, {3.9f, 0, 0, 0.3f, 0.3f},
                     {4.1f, 0, 0, 0, 0}},
          8);
  model.objects.push_back(toTdsObject(mesh, "MRO", false));
  return model;
}
