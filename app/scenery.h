// The scenery and the missile pair, drawn every frame after the flight step.
#pragma once

void drawBackgroundPlanets();
void drawStarfield();
void drawSatellites();
void drawMissiles();
// Starts a missile pair while the Wii Remote's B button is down.
void fireFromWiimote();
