// Whether two actors' meshes touch.
#include "platform/nx/nx_objects.h"

bool nxExactNearSurface = true;

// Whether a point, in the mesh's frame, lies inside the mesh: the pmap
// answers for cells deep inside or outside; in a cell the surface may cross
// (the planet's are 3 units wide) the exact test through the mesh's tree does.
static bool insideMesh(const MeshObject& mesh, Vec3 point, QueryCounters* counters) {
  switch (solidMapRegion(mesh.solid, point)) {
    case kMapOutside: return false;
    case kMapInside: return true;
    case kMapNearSurface: break;
  }
  if (!nxExactNearSurface) return solidMapContains(mesh.solid, point);
  return pointInsideMesh(mesh.geometry, *mesh.tree, point, counters);
}

// True when a part of `inner` lies in `outer`, as far as `outer`'s pmap can
// tell (no pmap, no answer). With no surface crossing, each connected part of
// `inner` is either wholly inside `outer` or wholly outside it, so one vertex
// of each part decides for that part; the parts of one mesh (the fighter's
// separate objects) may lie on either side.
static bool insideByPMap(const ActorObject& inner, const Pose& innerPose, const ActorObject& outer,
                         const Pose& outerPose, QueryCounters* counters) {
  const MeshObject& map = *outer.mesh;
  if (!map.hasPMap()) return false;
  Pose toOuter = relativePose(outerPose, innerPose);
  for (uint32_t v : inner.mesh->partVertices) {
    if (insideMesh(map, transformPoint(toOuter, inner.mesh->geometry.points[v]), counters)) return true;
  }
  return false;
}

bool actorsTouch(const ActorObject& a, const ActorObject& b, QueryCounters* counters) {
  Pose poseA = a.meshPose();
  Pose poseB = b.meshPose();
  const MeshObject& ma = *a.mesh;
  const MeshObject& mb = *b.mesh;
  if (treesIntersect(ma.geometry, *ma.tree, poseA, mb.geometry, *mb.tree, poseB, counters)) return true;
  return insideByPMap(a, poseA, b, poseB, counters) || insideByPMap(b, poseB, a, poseA, counters);
}
