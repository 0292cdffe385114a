#include "app/actors.h"

#include <GL/gl.h>

#include "app/frame_loop.h"
#include "physics/world.h"
#include "physics/wrappers.h"

static const float touchColor[4] = {1.0f, 0.0f, 0.0f, 1.0f};
static const float shipSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
static const float restoreColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// The rotation of a ship turned by its roll, then its pitch, then its yaw.
static void shipRotation(float yaw, float pitch, float roll, float rotationMatrix[9]) {
  float angles[3] = {-pitch, yaw, roll};
  quaternionToMatrix(eulerToQuaternion(angles), rotationMatrix);
}

void poseShipActor(MyNXWrapper& ship) {
  const GameState& g = gameState;
  float rotationMatrix[9];
  shipRotation(static_cast<float>(g.yaw), static_cast<float>(g.pitch), static_cast<float>(g.roll),
               rotationMatrix);
  ship.setOrientation(rotationMatrix);
  const float position[3] = {g.shipX, g.altitude, g.shipZ};
  ship.setPosition(position);
  const float still[3] = {0.0f, 0.0f, 0.0f};
  ship.setVelocity(still);
}

uint32_t syncShipActor() {
  uint32_t shipContact = 0;
  NxU32 count = scene->getNbActors();
  NxActor** actors = scene->getActors();
  for (NxU32 i = 0; i < count; ++i) {
    MyNXWrapper* object = static_cast<MyNXWrapper*>(actors[i]->userData);
    if (object == nullptr) continue;
    if (object->getType() == 0) {
      poseShipActor(*object);
      shipContact = object->contactFlags;
    }
    object->contactFlags = 0;
  }
  return shipContact;
}

// The ship's colours from its contact bits, tested in the order start of
// touch, touching, end of touch: the first set decides.
static void setShipMaterial(uint32_t flags) {
  if (flags & NX_NOTIFY_ON_START_TOUCH) {
    // The touch has just started: the ship keeps its colours this frame.
  } else if (flags & NX_NOTIFY_ON_TOUCH) {
    glMaterialfv(GL_FRONT, GL_DIFFUSE, touchColor);
    glMaterialfv(GL_FRONT, GL_SPECULAR, shipSpecular);
  } else if (flags & NX_NOTIFY_ON_END_TOUCH) {
    // The touch has ended: nothing to change.
  } else {
    glMaterialfv(GL_FRONT, GL_SPECULAR, shipSpecular);
  }
}

// The user object draws the ship at its actor's pose, the latest tick's. To
// draw it at `ship` instead, the matrix is first multiplied by the pose at
// `ship` and by the inverse of the actor's pose, which the draw then undoes.
static void moveFromActorPose(const NxMat34& actorPose, const ShipPose& ship) {
  float rotation[9];
  shipRotation(ship.yaw, ship.pitch, ship.roll, rotation);
  NxMat34 drawn;
  drawn.M.setRowMajor(rotation);
  drawn.t = NxVec3(ship.x, ship.altitude, ship.z);
  float matrix[16];
  poseToGLMatrix(drawn, matrix);
  glMultMatrixf(matrix);
  // A rigid pose's inverse: the rotation transposed, the translation turned
  // back by it and negated.
  const NxMat33& R = actorPose.M;
  const NxVec3& t = actorPose.t;
  float inverse[16] = {};
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) inverse[column * 4 + row] = R.m[column][row];
    inverse[12 + column] = -(R.m[0][column] * t.x + R.m[1][column] * t.y + R.m[2][column] * t.z);
  }
  inverse[15] = 1.0f;
  glMultMatrixf(inverse);
}

void drawActors(const ShipPose& ship, uint32_t shipContact) {
  NxU32 count = scene->getNbActors();
  NxActor** actors = scene->getActors();
  for (NxU32 i = 0; i < count; ++i) {
    MyNXWrapper* object = static_cast<MyNXWrapper*>(actors[i]->userData);
    if (object == nullptr) continue;
    const bool isShip = object->getType() == 0;
    glPushMatrix();
    if (isShip) {
      setShipMaterial(shipContact);
      moveFromActorPose(actors[i]->getGlobalPose(), ship);
    }
    glEnable(GL_CULL_FACE);
    object->draw();
    glDisable(GL_CULL_FACE);
    glPopMatrix();
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, restoreColor);
  }
}

bool shipTouching() {
  return (gameState.currentTick.shipContact & NX_NOTIFY_ON_TOUCH) != 0;
}
