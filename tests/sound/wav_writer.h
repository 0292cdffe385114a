// Writes 16-bit PCM WAV files for the sound tests, and builds the signals they
// hold: tones and constant levels, whose presence in a captured mix is easy to
// recognise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WavData {
  int rate = 44100;
  int channels = 2;
  std::vector<int16_t> samples;  // interleaved, `channels` per frame

  size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// The bytes of a canonical WAV file: RIFF header, "fmt " chunk, "data" chunk.
std::vector<uint8_t> wavBytes(const WavData& wav);

// Writes the bytes to `path`; false when the file cannot be written.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool writeWav(const std::string& path, const WavData& wav);

// A sine tone of the given frequency and peak amplitude, the same on every
// channel.
WavData toneWav(int rate, int channels, double seconds, double frequency, int amplitude);

// Every sample at the same value.
WavData levelWav(int rate, int channels, double seconds, int value);
