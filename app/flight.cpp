// Flight, camera and the per-tick bookkeeping of the ship's attitude. All
// motion advances by a fixed amount per tick of the game clock; angles turn
// into radians with 3.14 for a half turn, as the game has always flown.
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "platform/os/os.h"

static const double kHalfTurn = 3.14;
static const double kFullTurn = 6.28;
static const double kSpeedScale = 0.05;
static const double kChaseOffset = 0.1;
static const double kChaseHeight = 0.5;

const char kControlsList[] =
    "Liste des controles\n\nF1 = plein ecran\nF2 = activation/desactivation de glulookat\n"
    "Fleche haut = monter\nFleche bas = descendre\nFleche gauche = tourner a gauche\n"
    "Fleche droite = tourner a droite\nz = avancer\ns = reculer\ng = tirer missiles\n"
    "Echap = quitter\n\n";

// An angle in degrees to radians: doubled first, which for whole degrees
// gives exactly the doubled integer.
static double toRadians(double degrees) {
  return 2.0 * degrees * kHalfTurn / 360.0;
}

void applyTiltSteering() {
  GameState& g = gameState;
  if (g.tiltSteering != 1) return;
  g.yaw = static_cast<int>(static_cast<double>(g.tiltYaw) * 360.0 / kFullTurn);
  g.pitch = static_cast<int>(static_cast<double>(g.tiltPitch) * 360.0 / kFullTurn);
}

void placeCamera(const ShipPose& ship) {
  const GameState& g = gameState;
  if (g.freeCamera == 0.0f) {
    double Y = toRadians(ship.yaw);
    double P = toRadians(ship.pitch);
    gluLookAt(ship.x + kChaseOffset * sin(Y), ship.altitude + kChaseOffset * sin(P) + kChaseHeight,
              ship.z + kChaseOffset * cos(Y), ship.x,
              ship.altitude - kChaseOffset * sin(P) + kChaseHeight, ship.z, 0.0, 1.0, 0.0);
  } else {
    glTranslatef(-g.camPanX, -g.camPanY - 0.3f, -g.camZoom - 1.0f);
    glRotatef(g.camAngles[0], 1.0f, 0.0f, 0.0f);
    glRotatef(g.camAngles[1], 0.0f, 1.0f, 0.0f);
  }
}

void flyShip() {
  GameState& g = gameState;
  double Y = toRadians(static_cast<double>(g.yaw));
  double P = toRadians(static_cast<double>(g.pitch));
  double v = g.speed * kSpeedScale;
  g.shipZ = static_cast<float>(g.shipZ - v * cos(Y));
  g.shipX = static_cast<float>(g.shipX - v * sin(Y));
  if (g.speed != 0) {
    g.altitude = static_cast<float>(g.altitude - cos(P) * (g.pitch * kSpeedScale));
  }
}

void levelRoll() {
  GameState& g = gameState;
  if (g.roll == g.previousRoll && g.rollHeld == 1) {
    g.rollHeld = 0;
  } else {
    g.previousRoll = g.roll;
    if (g.rollHeld != 0) return;
  }
  if (g.roll > 0) {
    g.roll -= 1;
  } else if (g.roll < 0) {
    g.roll += 1;
  }
}

ShipPose shipPose() {
  const GameState& g = gameState;
  return ShipPose{g.shipX,
                  g.altitude,
                  g.shipZ,
                  static_cast<float>(g.yaw),
                  static_cast<float>(g.pitch),
                  static_cast<float>(g.roll)};
}

void formatStatusLine(char* text, size_t size) {
  const GameState& g = gameState;
  snprintf(text, size, "Speed = %d km/h  Altitude = %f Pitch = %d  Yaw = %d ", g.speed,
           static_cast<double>(g.altitude), g.pitch, g.yaw);
}

void writeConsoleText() {
  GameState& g = gameState;
  if (g.consoleFrameCounter > 3) {
    clearConsole();
    fputs(kControlsList, stdout);
    char line[256];
    formatStatusLine(line, sizeof line);
    printf("%s\n", line);
    fflush(stdout);
    g.consoleFrameCounter = 0;
  }
  g.consoleFrameCounter += 1;
}

void speedFromWiimote() {
  GameState& g = gameState;
  if (g.WiimoteButtons.buttonUp) {
    if (g.speed < 300) g.speed += 2;
  }
  if (g.WiimoteButtons.buttonDown) {
    if (g.speed > -300) g.speed -= 2;
  }
}
