// The scene: actors, actor pairs and the step.
#include <cmath>

#include "platform/nx/nx_objects.h"

NxActor* SceneObject::createActor(const NxActorDesc& d) {
  // One triangle-mesh shape per actor: the only kind of shape the game makes.
  if (d.shapes.size() != 1 || d.shapes[0] == nullptr || d.shapes[0]->type != NX_SHAPE_MESH) return nullptr;
  const NxTriangleMeshShapeDesc* shape = static_cast<const NxTriangleMeshShapeDesc*>(d.shapes[0]);
  if (shape->meshData == nullptr) return nullptr;

  ActorObject* actor = new ActorObject;
  actor->mesh = static_cast<MeshObject*>(shape->meshData);
  actor->shapePose = poseFromMat34(shape->localPose);
  actor->pose = poseFromMat34(d.globalPose);
  actor->userData = d.userData;
  if (d.body != nullptr) {
    actor->dynamic = true;
    actor->bodyFlags = d.body->flags;
    actor->velocity = {d.body->linearVelocity.x, d.body->linearVelocity.y, d.body->linearVelocity.z};
  }
  actors.push_back(actor);
  actorList.push_back(actor);
  return actor;
}

static bool samePair(const ActorPair& pair, const NxActor* a, const NxActor* b) {
  return (pair.first == a && pair.second == b) || (pair.first == b && pair.second == a);
}

void SceneObject::setActorPairFlags(NxActor& first, NxActor& second, NxU32 flags) {
  if (&first == &second) return;
  for (ActorPair& pair : pairs) {
    if (samePair(pair, &first, &second)) {
      pair.flags = flags;
      return;
    }
  }
  pairs.push_back(ActorPair{static_cast<ActorObject*>(&first), static_cast<ActorObject*>(&second), flags, false});
}

NxU32 SceneObject::getActorPairFlags(NxActor& first, NxActor& second) const {
  for (const ActorPair& pair : pairs)
    if (samePair(pair, &first, &second)) return pair.flags;
  return 0;
}

void SceneObject::simulate(NxReal elapsedTime) {
  // Fixed sub-steps of maxTimestep; time below one sub-step waits for the
  // next call, and time beyond maxIter sub-steps is dropped, so a long pause
  // never costs more than maxIter sub-steps.
  float h = desc.maxTimestep;
  uint32_t subSteps = 0;
  if (std::isfinite(elapsedTime) && elapsedTime > 0.0f) {
    if (desc.timeStepMethod == NX_TIMESTEP_VARIABLE) {
      // Equal sub-steps no longer than maxTimestep; past maxIter of them,
      // whole ones, and the rest dropped.
      float count = std::ceil(elapsedTime / desc.maxTimestep);
      bool tooMany = count > static_cast<float>(desc.maxIter);
      subSteps = tooMany ? desc.maxIter : static_cast<uint32_t>(count);
      h = tooMany ? desc.maxTimestep : elapsedTime / static_cast<float>(subSteps);
    } else {
      double total = static_cast<double>(pendingTime) + elapsedTime;
      double whole = std::floor(total / desc.maxTimestep);
      if (whole >= desc.maxIter) {
        subSteps = desc.maxIter;
        pendingTime = 0.0f;
      } else {
        subSteps = static_cast<uint32_t>(whole);
        pendingTime = static_cast<float>(total - whole * desc.maxTimestep);
      }
    }
  }
  lastSubSteps = subSteps;

  Vec3 g{desc.gravity.x, desc.gravity.y, desc.gravity.z};
  for (uint32_t s = 0; s < subSteps; ++s) {
    for (ActorObject* actor : actors) {
      if (!actor->integrated()) continue;
      if ((actor->bodyFlags & NX_BF_DISABLE_GRAVITY) == 0) actor->velocity = actor->velocity + g * h;
      actor->pose.t = actor->pose.t + actor->velocity * h;
    }
  }

  // Contacts once per call, at the poses after the sub-steps.
  pending.clear();
  if (!desc.collisionDetection) return;
  for (ActorPair& pair : pairs) {
    if (pair.flags == 0) continue;
    bool touching = actorsTouch(*pair.first, *pair.second, &counters);
    NxU32 events = 0;
    if (touching && !pair.touching) events = NX_NOTIFY_ON_START_TOUCH | NX_NOTIFY_ON_TOUCH;
    else if (touching) events = NX_NOTIFY_ON_TOUCH;
    else if (pair.touching) events = NX_NOTIFY_ON_END_TOUCH;
    pair.touching = touching;
    events &= pair.flags;
    if (events != 0) pending.push_back(Pending{pair.first, pair.second, events});
  }
}

bool SceneObject::fetchResults(NxSimulationStatus, bool) {
  // Delivered from a copy: a report may change pair flags or poses.
  std::vector<Pending> delivered;
  delivered.swap(pending);
  if (desc.userContactReport != nullptr) {
    for (const Pending& p : delivered) {
      NxContactPair pair;
      pair.actors[0] = p.first;
      pair.actors[1] = p.second;
      desc.userContactReport->onContactNotify(pair, p.events);
    }
  }
  return true;
}
