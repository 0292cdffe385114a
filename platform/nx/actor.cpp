// Actors: body flags, poses and velocity.
#include "platform/nx/nx_objects.h"

Pose poseFromMat34(const NxMat34& m) {
  Pose p;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) p.R[i][j] = m.M.m[i][j];
  p.t = {m.t.x, m.t.y, m.t.z};
  return p;
}

void ActorObject::raiseBodyFlag(NxBodyFlag flag) {
  // Body flags mean nothing to a static actor, as in the SDK.
  if (dynamic) bodyFlags |= flag;
}

bool ActorObject::readBodyFlag(NxBodyFlag flag) const { return (bodyFlags & flag) != 0; }

NxMat34 ActorObject::getGlobalPose() const {
  NxMat34 m;
  m.M = getGlobalOrientation();
  m.t = getGlobalPosition();
  return m;
}

NxVec3 ActorObject::getGlobalPosition() const { return NxVec3(pose.t.x, pose.t.y, pose.t.z); }

NxMat33 ActorObject::getGlobalOrientation() const {
  NxMat33 m;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m.m[i][j] = pose.R[i][j];
  return m;
}

void ActorObject::setGlobalPosition(const NxVec3& position) { pose.t = {position.x, position.y, position.z}; }

void ActorObject::setGlobalOrientation(const NxMat33& orientation) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) pose.R[i][j] = orientation.m[i][j];
}

void ActorObject::setLinearVelocity(const NxVec3& v) {
  if (dynamic) velocity = {v.x, v.y, v.z};
}

NxVec3 ActorObject::getLinearVelocity() const { return NxVec3(velocity.x, velocity.y, velocity.z); }

Pose ActorObject::meshPose() const {
  Pose world;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      world.R[i][j] = pose.R[i][0] * shapePose.R[0][j] + pose.R[i][1] * shapePose.R[1][j] +
                      pose.R[i][2] * shapePose.R[2][j];
  world.t = transformPoint(pose, shapePose.t);
  return world;
}
