// The scenery and the missile pair: the tick's orbit and missile steps, and
// their drawing once per frame after the camera.
#pragma once

#include "app/game_state.h"

void drawBackgroundPlanets();
void drawStarfield();
// One turn of the satellites' orbit, in radians.
constexpr double kOrbitTurn = 6.283185307179586;
// One tick of the satellites' orbit: orbitAngle grows by 0.01 radians and is
// kept within [0, kOrbitTurn), so it keeps a float's full precision at any
// hour of play.
void stepOrbit();
// The satellite on its two orbits, at the given angle.
void drawSatellites(float orbitAngle);
// One tick of the pair's flight; returns the pair as it is to be drawn.
MissilePair stepMissiles();
void drawMissiles(const MissilePair& pair);
// Starts a missile pair while the Wii Remote's B button is down.
void fireFromWiimote();
