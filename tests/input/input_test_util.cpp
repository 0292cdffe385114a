#include "tests/input/input_test_util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/game_state.h"
#include "sound/sound.h"

std::vector<unsigned char> snapshot() {
  std::vector<unsigned char> bytes(sizeof(GameState));
  std::memcpy(bytes.data(), static_cast<const void*>(&gameState), sizeof(GameState));
  return bytes;
}

// A 16-bit mono WAV in the test's temporary folder; "" when it cannot be written.
static std::string writeTestWav(const char* name) {
  std::string path = testing::TempDir() + name;
  const uint32_t rate = 22050, frames = rate / 4, dataBytes = frames * 2;
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return "";
  auto u32 = [file](uint32_t v) { fwrite(&v, 4, 1, file); };
  auto u16 = [file](uint16_t v) { fwrite(&v, 2, 1, file); };
  fwrite("RIFF", 1, 4, file);
  u32(36 + dataBytes);
  fwrite("WAVEfmt ", 1, 8, file);
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  fwrite("data", 1, 4, file);
  u32(dataBytes);
  for (uint32_t i = 0; i < frames; ++i) u16(static_cast<uint16_t>((i / 50) % 2 ? 8000 : -8000));
  fclose(file);
  return path;
}

std::string loadMissileSound(const char* name) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (FSOUND_Init(44100, 32, 0) != 1) return "";
  std::string path = writeTestWav(name);
  missileSample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), FSOUND_2D, 0, 0);
  return missileSample != nullptr ? path : "";
}

void unloadMissileSound(const std::string& path) {
  FSOUND_Close();
  missileSample = nullptr;
  remove(path.c_str());
}
