// Whether two actors' meshes touch.
#include "platform/nx/nx_objects.h"

// True when a part of `inner` lies in the solid cells of `outer`'s pmap.
// With no surface crossing, each connected part of `inner` is either wholly
// inside `outer` or wholly outside it, so one vertex of each part decides for
// that part; the parts of one mesh (the fighter's separate objects) may lie
// on either side.
static bool insideByPMap(const ActorObject& inner, const Pose& innerPose, const ActorObject& outer,
                         const Pose& outerPose) {
  const MeshObject& map = *outer.mesh;
  if (!map.hasPMap()) return false;
  Pose toOuter = relativePose(outerPose, innerPose);
  for (uint32_t v : inner.mesh->partVertices) {
    if (solidMapContains(map.solid, transformPoint(toOuter, inner.mesh->geometry.points[v]))) return true;
  }
  return false;
}

bool actorsTouch(const ActorObject& a, const ActorObject& b, QueryCounters* counters) {
  Pose poseA = a.meshPose();
  Pose poseB = b.meshPose();
  const MeshObject& ma = *a.mesh;
  const MeshObject& mb = *b.mesh;
  if (treesIntersect(ma.geometry, *ma.tree, poseA, mb.geometry, *mb.tree, poseB, counters)) return true;
  return insideByPMap(a, poseA, b, poseB) || insideByPMap(b, poseB, a, poseA);
}
