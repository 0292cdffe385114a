#include "app/actors.h"

#include <GL/gl.h>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "physics/world.h"
#include "physics/wrappers.h"

static const float touchColor[4] = {1.0f, 0.0f, 0.0f, 1.0f};
static const float shipSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
static const float restoreColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};

static bool shipTouchingNow = false;

void poseShipActor(MyNXWrapper& ship) {
  const GameState& g = gameState;
  float angles[3] = {static_cast<float>(-g.pitch), static_cast<float>(g.yaw), static_cast<float>(g.roll)};
  float rotationMatrix[9];
  quaternionToMatrix(eulerToQuaternion(angles), rotationMatrix);
  ship.setOrientation(rotationMatrix);
  const float position[3] = {g.shipX, g.altitude, g.shipZ};
  ship.setPosition(position);
  const float still[3] = {0.0f, 0.0f, 0.0f};
  ship.setVelocity(still);
}

// Poses the ship's actor and sets its material from the frame's contact bits:
// red only while a touch goes on after the frame that started it.
static void syncShip(MyNXWrapper& ship) {
  poseShipActor(ship);
  uint32_t flags = ship.contactFlags;
  shipTouchingNow = (flags & NX_NOTIFY_ON_TOUCH) != 0;
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

void syncAndDrawActors() {
  shipTouchingNow = false;
  if (scene == nullptr) return;
  NxU32 count = scene->getNbActors();
  NxActor** actors = scene->getActors();
  for (NxU32 i = 0; i < count; ++i) {
    MyNXWrapper* object = static_cast<MyNXWrapper*>(actors[i]->userData);
    if (object == nullptr) continue;
    if (object->getType() == 0) syncShip(*object);
    glEnable(GL_CULL_FACE);
    object->draw();
    glDisable(GL_CULL_FACE);
    object->contactFlags = 0;
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, restoreColor);
  }
}

bool shipTouching() {
  return shipTouchingNow;
}
