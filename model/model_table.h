// The fixed table of the game's models; other code names a model by its slot:
// 1 the fighter, 4 the planet with the collision surface, 5 the missile,
// 6 the satellite, 7 and 8 the background planets; 0, 2, 3 and 9 stay empty.
#pragma once

#include "model/model_3ds.h"

extern Model_3DS ModelTable[10];

// Loads the six models into their slots in the order 1, 4, 5, 6, 7, 8, each
// followed at once by its statistics. A missing file ends the process
// (message box "ERROR") after the statistics of the models before it.
void loadModels();

// The file the game loads into `slot`, as the game names it
// ("data//map//earth3.3DS"); null for a slot that stays empty.
const char* modelPath(int slot);

// Prints the statistics block of one slot to standard output.
void printModelStats(int slot);
