// Helpers shared by the input tests.
#pragma once

#include <string>
#include <vector>

// The whole game state as bytes, to prove an input left every field alone.
std::vector<unsigned char> snapshot();

// Writes a 16-bit mono WAV of a quarter second of a square wave into the
// test's temporary folder and returns its path ("" when it cannot be written).
std::string writeTestWav(const char* name);
