// Pmap blocks: computed from a mesh, loaded into a mesh, released.
#include <cstdlib>
#include <cstring>

#include "platform/nx/nx_objects.h"

static_assert(NX_PMAP_MAX_DENSITY == kSolidMapMaxResolution &&
                  NX_PMAP_MAX_BYTES == solidMapBlockBytes(kSolidMapMaxResolution),
              "the SDK's bound on pmap blocks is the solid map's");

bool NxCreatePMap(NxPMap& pmap, const NxTriangleMesh& mesh, NxU32 density, NxUserOutputStream*) {
  pmap.dataSize = 0;
  pmap.data = nullptr;
  const MeshObject& object = static_cast<const MeshObject&>(mesh);
  SolidMap map;
  if (!buildSolidMap(object.geometry, density, map)) return false;
  std::vector<uint8_t> bytes = encodeSolidMap(map, object.fingerprint);
  void* data = malloc(bytes.size());
  if (data == nullptr) return false;
  memcpy(data, bytes.data(), bytes.size());
  pmap.dataSize = static_cast<NxU32>(bytes.size());
  pmap.data = data;
  return true;
}

bool NxReleasePMap(NxPMap& pmap) {
  free(pmap.data);
  pmap.data = nullptr;
  pmap.dataSize = 0;
  return true;
}

bool MeshObject::loadPMap(const NxPMap& pmap) {
  // A refused block leaves the mesh with no pmap at all, never half of one.
  SolidMap loaded;
  bool ok = pmap.data != nullptr && decodeSolidMap(pmap.data, pmap.dataSize, fingerprint, loaded);
  solid = ok ? loaded : SolidMap();
  return ok;
}
