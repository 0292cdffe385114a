// The game's sounds: the looping music and the two effect samples.
#pragma once

// Opens the sound library, loads the alarm and missile samples and starts the
// music, looping.
void initSound();
