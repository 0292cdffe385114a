// Everything in the scene the physics world does not know about: the two
// background planets, the starfield, the satellite on its two orbits and the
// missile pair in flight, plus firing from the Wii Remote's B button. Each
// drawing step leaves the model-view matrix as it found it.
#include "app/scenery.h"

#include <GL/glut.h>

#include <cmath>
#include <vector>

#include "app/game_state.h"
#include "app/missile_launch.h"
#include "app/sphere_points.h"
#include "model/model_table.h"

static const int kMissileSlot = 5;
static const int kSatelliteSlot = 6;
static const int kFirstPlanetSlot = 7;
static const int kSecondPlanetSlot = 8;

static const int kStarSpheres = 19;
static const double kOrbitStep = 0.01;  // radians per tick, added in double precision
static const float kMissileScale = 0.01f;
static const float kMissileSpacing = 250.0f;   // model units between the pair
static const float kMissileTravelEnd = -30.0f;  // the flight ends below this

void drawBackgroundPlanets() {
  glPushMatrix();
  glTranslatef(-100.0f, 400.0f, -200.0f);
  ModelTable[kFirstPlanetSlot].draw();
  // Relative to the first planet: the second stands at (200, -300, -100).
  glTranslatef(300.0f, -700.0f, 100.0f);
  ModelTable[kSecondPlanetSlot].draw();
  glPopMatrix();
}

// Nineteen spheres around the world origin shown as their vertices only, each
// turned by all the rotations made before it. The vertices are drawn as points
// themselves, where GLUT's solid sphere places them: a sphere drawn in polygon
// mode GL_POINT also shows the vertices clipping adds where its faces cross the
// window's edges, rows of dots along the edges. The points are modulated by
// whatever texture is bound, as texturing stays on.
void drawStarfield() {
  static const std::vector<std::vector<GLfloat>> spheres = [] {
    std::vector<std::vector<GLfloat>> all;
    for (int k = 1; k <= kStarSpheres; ++k) all.push_back(sphereVertices(200.0f + 100.0f * k, k, k));
    return all;
  }();
  glPushMatrix();
  glColor3f(1.0f, 1.0f, 1.0f);
  glDisable(GL_LIGHTING);
  glPointSize(2.0f);
  for (int k = 1; k <= kStarSpheres; ++k) {
    const std::vector<GLfloat>& vertices = spheres[k - 1];
    glBegin(GL_POINTS);
    for (size_t i = 0; i < vertices.size(); i += 3) glVertex3fv(&vertices[i]);
    glEnd();
    glRotatef(static_cast<float>(77 + 2 * (k - 1)), 1.0f, 1.0f, 0.0f);
  }
  glEnable(GL_LIGHTING);
  glPopMatrix();
}

// The angle wraps by a whole turn, the satellites' places unchanged: a float
// that grew for hours would step by its own rounding (0.001 radians after
// 4.6 hours against 0.01 a tick).
void stepOrbit() {
  GameState& g = gameState;
  double angle = g.orbitAngle + kOrbitStep;
  if (angle >= kOrbitTurn) angle -= kOrbitTurn;
  g.orbitAngle = static_cast<float>(angle);
}

// The satellite model, only moved, on a horizontal and a vertical ellipse
// around the world origin. Sines and cosines are taken in single precision
// as the orbit has always been computed.
void drawSatellites(float orbitAngle) {
  const float a = orbitAngle;

  glPushMatrix();
  float s = static_cast<float>(std::sin(-static_cast<double>(a)));
  float c = static_cast<float>(std::cos(-static_cast<double>(a)));
  glTranslatef(500.0f * s, 0.0f, 400.0f * c);
  ModelTable[kSatelliteSlot].draw();
  glPopMatrix();

  glPushMatrix();
  s = static_cast<float>(std::sin(static_cast<double>(a)));
  c = static_cast<float>(std::cos(static_cast<double>(a)));
  glTranslatef(0.0f, 900.0f * s, 800.0f * c);
  ModelTable[kSatelliteSlot].draw();
  glPopMatrix();
}

// One tick of the pair's flight: one unit further along its own -z axis,
// which points where the ship was heading when the pair was fired. The pair
// is shown with travel -1 to -31 and goes idle in the tick it passes -30.
MissilePair stepMissiles() {
  GameState& g = gameState;
  MissilePair pair;
  if (g.missilesFlying != 1) return pair;
  g.missileTravel = g.missileTravel - 1.0f;
  pair.shown = true;
  for (int i = 0; i < 3; ++i) pair.origin[i] = static_cast<float>(g.missileOrigin[i]);
  pair.yaw = static_cast<float>(g.missileYaw);
  pair.pitch = static_cast<float>(g.missilePitch);
  pair.travel = g.missileTravel;
  if (g.missileTravel < kMissileTravelEnd) {
    g.missilesFlying = 0;
    g.missileTravel = 0.0f;
  }
  return pair;
}

void drawMissiles(const MissilePair& pair) {
  if (!pair.shown) return;
  glPushMatrix();
  glTranslatef(pair.origin[0], pair.origin[1], pair.origin[2]);
  glRotatef(pair.yaw, 0.0f, 1.0f, 0.0f);
  glRotatef(-pair.pitch, 1.0f, 0.0f, 0.0f);
  glTranslatef(-1.5f, -0.8f, pair.travel - 8.0f);
  glScalef(kMissileScale, kMissileScale, kMissileScale);
  ModelTable[kMissileSlot].draw();
  glTranslatef(kMissileSpacing, 0.0f, 0.0f);
  ModelTable[kMissileSlot].draw();
  glPopMatrix();
}

// While B is down the pair takes the ship's present position and heading in
// every tick; its travel runs on, and no sound is played.
void fireFromWiimote() {
  if (gameState.WiimoteButtons.buttonB) launchMissilePair();
}
