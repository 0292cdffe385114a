// Helpers shared by the input tests.
#pragma once

#include <string>
#include <vector>

// The whole game state as bytes, to prove an input left every field alone.
std::vector<unsigned char> snapshot();

// Opens the sound device on SDL's dummy driver and loads a test WAV (a
// quarter second of a square wave) as the missile sample; returns the WAV's
// path, or "" when either step failed.
std::string loadMissileSound(const char* name);
// Closes the device, forgets the sample and removes the WAV.
void unloadMissileSound(const std::string& path);
