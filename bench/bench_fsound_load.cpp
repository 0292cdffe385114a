// Loading the game's sounds: a 20-second music file opened as a stream (decoded
// whole, rewritten in memory) and a one-second effect loaded as a sample,
// with the device open on SDL's dummy driver at the game's mix rate.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fsound/fsound_internal.h"

namespace {

// A mono 16-bit tone as a WAV file in /tmp; returns its path.
std::string writeTone(const char* name, double seconds, int rate) {
  std::string path = std::string("/tmp/") + name;
  uint32_t frames = static_cast<uint32_t>(seconds * rate);
  uint32_t bytes = frames * 2;
  std::vector<uint8_t> out;
  auto put = [&out](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back((value >> (8 * i)) & 0xff);
  };
  auto tag = [&out](const char* text) { out.insert(out.end(), text, text + 4); };
  tag("RIFF"); put(36 + bytes, 4); tag("WAVE");
  tag("fmt "); put(16, 4); put(1, 2); put(1, 2); put(rate, 4); put(rate * 2, 4); put(2, 2);
  put(16, 2);
  tag("data"); put(bytes, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    put(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.0627))), 2);
  }
  FILE* file = fopen(path.c_str(), "wb");
  if (file) {
    fwrite(out.data(), 1, out.size(), file);
    fclose(file);
  }
  return path;
}

void openDevice() {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (!FSOUND_Init(44100, 32, 0)) abort();
}

// The game never frees its handles; a benchmark loading thousands must.
void BM_StreamOpen20sMusic(benchmark::State& state) {
  openDevice();
  std::string path = writeTone("vekotra-bench-music.wav", 20.0, 44100);
  for (auto _ : state) {
    FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    if (!stream) abort();
    Mix_FreeMusic(stream->music);
    SDL_free(stream->file);
    delete stream;
  }
  remove(path.c_str());
  FSOUND_Close();
}
BENCHMARK(BM_StreamOpen20sMusic)->Unit(benchmark::kMillisecond);

void BM_SampleLoad1sEffect(benchmark::State& state) {
  openDevice();
  std::string path = writeTone("vekotra-bench-effect.wav", 1.0, 22050);
  for (auto _ : state) {
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), 8496, 0, 0);
    if (!sample) abort();
    Mix_FreeChunk(sample->chunk);
    delete sample;
  }
  remove(path.c_str());
  FSOUND_Close();
}
BENCHMARK(BM_SampleLoad1sEffect)->Unit(benchmark::kMillisecond);

}  // namespace
