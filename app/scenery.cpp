#include "app/scenery.h"

// The scenery and missiles come with the model table; until then the frame
// draws nothing here.
void drawBackgroundPlanets() {}
void drawStarfield() {}
void drawSatellites() {}
void drawMissiles() {}
void fireFromWiimote() {}
