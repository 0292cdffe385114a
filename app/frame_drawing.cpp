// One displayed frame's picture, drawn after the frame's ticks: whatever
// moves stands where it is between the last two ticks, by the fraction of a
// tick that has passed since the last one, so motion is even at any display
// rate. Contacts, the red ship and the status come from the latest tick.
// Drawing changes no game state.
#include <GL/glut.h>

#include <algorithm>
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

// The farthest a missile can move in one tick while it flies on: a unit of
// its own travel, plus the ship's own move at its greatest speed (300, the
// Wii Remote's bound, at 0.05 a unit) while fire held keeps moving the pair
// with the ship, plus the truncation of the firing point to whole units.
static const double kMostMissileMove = 1.0 + 300 * 0.05 + 2.0;

// Where the missile `across` units to the right of the pair's first one
// stands in the world: as drawMissiles places it, turned by the pitch
// about x, then by the heading about y, from the firing point.
static void missilePlace(const MissilePair& pair, double across, double place[3]) {
  const double kDegree = 3.14159265358979323846 / 180.0;
  double x = -1.5 + across, y = -0.8, z = pair.travel - 8.0;
  double p = -pair.pitch * kDegree, h = pair.yaw * kDegree;
  double y1 = y * std::cos(p) - z * std::sin(p), z1 = y * std::sin(p) + z * std::cos(p);
  place[0] = pair.origin[0] + x * std::cos(h) + z1 * std::sin(h);
  place[1] = pair.origin[1] + y1;
  place[2] = pair.origin[2] - x * std::sin(h) + z1 * std::cos(h);
}

// How far either missile of the pair moved from one state to the other.
static double missileMove(const MissilePair& from, const MissilePair& to) {
  double most = 0.0;
  for (double across : {0.0, 2.5}) {
    double a[3], b[3];
    missilePlace(from, across, a);
    missilePlace(to, across, b);
    most = std::max(most, std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) +
                                    (b[2] - a[2]) * (b[2] - a[2])));
  }
  return most;
}

// A pair that flew on by one tick is drawn between its two places, also
// while fire held moves it with the ship in every tick; one that appears,
// restarts, disappears or jumps further than it could fly in a tick (fired
// again far from where it was) is drawn as the latest tick left it.
MissilePair missilesBetween(const MissilePair& from, const MissilePair& to, double fraction) {
  bool flewOn = from.shown && to.shown && to.travel == from.travel - 1.0f &&
                missileMove(from, to) <= kMostMissileMove;
  if (!flewOn) return to;
  MissilePair drawn = to;
  for (int i = 0; i < 3; ++i) drawn.origin[i] = between(from.origin[i], to.origin[i], fraction);
  drawn.yaw = angleBetween(from.yaw, to.yaw, fraction, 360.0);
  drawn.pitch = angleBetween(from.pitch, to.pitch, fraction, 360.0);
  drawn.travel = between(from.travel, to.travel, fraction);
  return drawn;
}

void clearFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glLoadIdentity();
}

void drawFrame(double fraction) {
  clearFrame();
  drawScene(fraction);
}

void drawScene(double fraction) {
  const TickState& from = gameState.previousTick;
  const TickState& to = gameState.currentTick;

  placeCamera(shipBetween(from.camera, to.camera, fraction));
  drawBackgroundPlanets();
  drawStarfield();
  drawSatellites(angleBetween(from.orbitAngle, to.orbitAngle, fraction, kOrbitTurn));
  drawMissiles(missilesBetween(from.missiles, to.missiles, fraction));
  if (scene != nullptr) drawActors(shipBetween(from.ship, to.ship, fraction), to.shipContact);
  drawStatusOverlay(shipTouching());
}
