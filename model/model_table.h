// The fixed table of the game's models; other code names a model by its slot.
#pragma once

// Loads the six models into their slots, each followed by its statistics.
void loadModels();
