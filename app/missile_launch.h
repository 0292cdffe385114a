// Launching the missile pair, shared by the g key and the Wii Remote's B.
#pragma once

// Aims the pair from the ship's present position and attitude and sets it
// flying. A pair already in flight is moved, its travelled distance kept.
void launchMissilePair();
