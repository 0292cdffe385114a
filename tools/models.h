// The game's six models, made for the places where the game draws them.
#pragma once

#include "tools/tds_writer.h"

// Slot 1, the player's fighter: about 1.5 units long, nose toward -z, lying
// 1.3 to 2.8 units ahead of its origin and a little below it, so that the
// chase camera (0.1 behind and 0.5 above the origin, looking along -z) sees
// it whole in the lower half of the view. Colour-only materials, with byte
// and float colour chunks.
TdsModel makeFighter();

// Slot 4, the planet with the collision surface: one closed sphere of radius
// 100 centred on its origin (every edge shared by exactly two triangles),
// textured with "EARTH3.BMP".
TdsModel makePlanet();

// Slot 5, the missile, drawn at scale 0.01: 316 units from exhaust to nose
// along -z, with four tail fins.
TdsModel makeMissile();

// Slot 6, the satellite: a box body, a dish and two solar panels, 20 units
// from panel tip to panel tip.
TdsModel makeSatellite();

// Slot 7, a rusty background planet of radius 60 centred on its origin,
// textured with "MARS.BMP".
TdsModel makeMars();

// Slot 8, an icy background planet of radius 40 centred on its origin,
// textured with "PLUTON.BMP".
TdsModel makePluto();
