// Whether two actors' meshes touch.
#include "platform/nx/nx_objects.h"

// True when a point of `inner` lies in a solid cell of `outer`'s pmap.
static bool insideByPMap(const ActorObject& inner, const Pose& innerPose, const ActorObject& outer,
                         const Pose& outerPose) {
  const MeshObject& map = *outer.mesh;
  if (!map.hasPMap() || inner.mesh->geometry.points.empty()) return false;
  // With no surface crossing, either all of `inner` is inside `outer` or none
  // of it is, so one vertex decides.
  Pose toOuter = relativePose(outerPose, innerPose);
  Vec3 p = transformPoint(toOuter, inner.mesh->geometry.points[0]);
  return solidMapContains(map.solid, p);
}

bool actorsTouch(const ActorObject& a, const ActorObject& b, QueryCounters* counters) {
  Pose poseA = a.meshPose();
  Pose poseB = b.meshPose();
  const MeshObject& ma = *a.mesh;
  const MeshObject& mb = *b.mesh;
  if (treesIntersect(ma.geometry, *ma.tree, poseA, mb.geometry, *mb.tree, poseB, counters)) return true;
  return insideByPMap(a, poseA, b, poseB) || insideByPMap(b, poseB, a, poseA);
}
