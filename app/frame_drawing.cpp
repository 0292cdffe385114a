// One displayed frame's picture, drawn after the frame's ticks: whatever
// moves stands where it is between the last two ticks, by the fraction of a
// tick that has passed since the last one, so motion is even at any display
// rate. Contacts, the red ship and the status come from the latest tick.
// Drawing changes no game state.
#include <GL/glut.h>

#include <cmath>

#include "app/actors.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "app/status_overlay.h"
#include "physics/world.h"

static float between(float from, float to, double fraction) {
  return static_cast<float>(from + (to - from) * fraction);
}

float angleBetween(float from, float to, double fraction, double fullTurn) {
  // The difference brought into [-half a turn, half a turn]: the drawn
  // angle may leave the turn `from` stands in, which draws the same.
  double turn = static_cast<double>(to) - from;
  turn -= fullTurn * std::round(turn / fullTurn);
  return static_cast<float>(from + turn * fraction);
}

ShipPose shipBetween(const ShipPose& from, const ShipPose& to, double fraction) {
  return ShipPose{between(from.x, to.x, fraction),
                  between(from.altitude, to.altitude, fraction),
                  between(from.z, to.z, fraction),
                  angleBetween(from.yaw, to.yaw, fraction, 360.0),
                  angleBetween(from.pitch, to.pitch, fraction, 360.0),
                  angleBetween(from.roll, to.roll, fraction, 360.0)};
}

// A pair one unit further on its flight is drawn between its two places; a
// pair fired anew, restarted or gone is drawn as the latest tick left it.
MissilePair missilesBetween(const MissilePair& from, const MissilePair& to, double fraction) {
  MissilePair drawn = to;
  bool sameFlight = from.shown && to.shown && from.origin[0] == to.origin[0] &&
                    from.origin[1] == to.origin[1] && from.origin[2] == to.origin[2] &&
                    from.yaw == to.yaw && from.pitch == to.pitch && to.travel == from.travel - 1.0f;
  if (sameFlight) drawn.travel = between(from.travel, to.travel, fraction);
  return drawn;
}

void drawFrame(double fraction) {
  const TickState& from = gameState.previousTick;
  const TickState& to = gameState.currentTick;

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glLoadIdentity();

  placeCamera(shipBetween(from.camera, to.camera, fraction));
  drawBackgroundPlanets();
  drawStarfield();
  drawSatellites(angleBetween(from.orbitAngle, to.orbitAngle, fraction, kOrbitTurn));
  drawMissiles(missilesBetween(from.missiles, to.missiles, fraction));
  if (scene != nullptr) drawActors(shipBetween(from.ship, to.ship, fraction), to.shipContact);
  drawStatusOverlay(shipTouching());
}
