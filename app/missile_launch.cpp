#include "app/missile_launch.h"

#include "app/game_state.h"

void launchMissilePair() {
  GameState& g = gameState;
  g.missilesFlying = 1;
  g.missileYaw = g.yaw;
  g.missilePitch = g.pitch;
  // int conversion truncates toward zero: -3.7 gives -3.
  g.missileOrigin[0] = static_cast<int>(g.shipX);
  g.missileOrigin[1] = static_cast<int>(g.altitude);
  g.missileOrigin[2] = static_cast<int>(g.shipZ);
}
