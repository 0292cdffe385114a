// The SDK object: parameters, materials, scenes and triangle meshes.
#include <cmath>
#include <utility>

#include "platform/nx/nx_objects.h"

namespace {

struct SdkObject : NxPhysicsSDK {
  NxReal parameters[NX_PARAMS_NUM_VALUES] = {};
  std::vector<NxMaterial> materials = std::vector<NxMaterial>(1);

  bool setParameter(NxParameter parameter, NxReal value) override {
    if (parameter < 0 || parameter >= NX_PARAMS_NUM_VALUES) return false;
    parameters[parameter] = value;
    return true;
  }
  NxReal getParameter(NxParameter parameter) const override {
    if (parameter < 0 || parameter >= NX_PARAMS_NUM_VALUES) return 0.0f;
    return parameters[parameter];
  }
  void setMaterialAtIndex(NxU32 index, const NxMaterial* material) override {
    // Indices are small numbers chosen by the caller; a wild one is ignored
    // rather than growing the table without bound.
    if (material == nullptr || index >= 65536) return;
    if (index >= materials.size()) materials.resize(index + 1);
    materials[index] = *material;
  }
  bool getMaterialAtIndex(NxU32 index, NxMaterial& material) const override {
    if (index >= materials.size()) return false;
    material = materials[index];
    return true;
  }
  NxScene* createScene(const NxSceneDesc& desc) override;
  NxTriangleMesh* createTriangleMesh(const NxTriangleMeshDesc& desc) override;
};

NxScene* SdkObject::createScene(const NxSceneDesc& desc) {
  if (!(desc.maxTimestep > 0.0f) || !std::isfinite(desc.maxTimestep) || desc.maxIter == 0) return nullptr;
  return new SceneObject(desc);
}

NxTriangleMesh* SdkObject::createTriangleMesh(const NxTriangleMeshDesc& desc) {
  if (desc.pointStrideBytes != 12 || desc.triangleStrideBytes != 12 || desc.flags != 0) return nullptr;
  if (desc.numVertices == 0 || desc.numTriangles == 0) return nullptr;
  if (desc.points == nullptr || desc.triangles == nullptr) return nullptr;

  MeshGeometry g = meshFromArrays(static_cast<const float*>(desc.points), desc.numVertices,
                                  static_cast<const uint32_t*>(desc.triangles), desc.numTriangles);
  // Every corner must be a finite point; a point no triangle uses is left
  // alone, whatever it holds.
  for (uint32_t index : g.triangles) {
    if (index >= desc.numVertices) return nullptr;
    const Vec3& p = g.points[index];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return nullptr;
  }

  MeshObject* mesh = new MeshObject;
  mesh->geometry = std::move(g);
  mesh->tree = buildBoxTree(mesh->geometry);
  mesh->fingerprint = meshFingerprint(mesh->geometry);
  mesh->partVertices = meshPartVertices(mesh->geometry);
  return mesh;
}

}  // namespace

NxPhysicsSDK* NxCreatePhysicsSDK(NxU32 sdkVersion, NxUserAllocator*, NxUserOutputStream*) {
  if (sdkVersion != NX_PHYSICS_SDK_VERSION) return nullptr;
  static SdkObject* sdk = new SdkObject;
  return sdk;
}

NxU32 MeshObject::getCount(int what) const {
  if (what == 0) return static_cast<NxU32>(geometry.points.size());
  if (what == 1) return geometry.triangleCount();
  return 0;
}
