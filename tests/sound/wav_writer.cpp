#include "tests/sound/wav_writer.h"

#include <cmath>
#include <cstdio>

static void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xff);
  out.push_back((value >> 8) & 0xff);
}

static void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xffff);
  put16(out, value >> 16);
}

static void putTag(std::vector<uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

std::vector<uint8_t> wavBytes(const WavData& wav) {
  uint32_t dataBytes = static_cast<uint32_t>(wav.samples.size() * 2);
  uint32_t blockAlign = static_cast<uint32_t>(wav.channels * 2);
  std::vector<uint8_t> out;
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, static_cast<uint32_t>(wav.channels));
  put32(out, static_cast<uint32_t>(wav.rate));
  put32(out, static_cast<uint32_t>(wav.rate) * blockAlign);
  put16(out, blockAlign);
  put16(out, 16);
  putTag(out, "data");
  put32(out, dataBytes);
  for (int16_t sample : wav.samples) put16(out, static_cast<uint16_t>(sample));
  return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

bool writeWav(const std::string& path, const WavData& wav) {
  return writeBytes(path, wavBytes(wav));
}

WavData toneWav(int rate, int channels, double seconds, double frequency, int amplitude) {
  WavData wav;
  wav.rate = rate;
  wav.channels = channels;
  size_t frames = static_cast<size_t>(seconds * rate);
  for (size_t i = 0; i < frames; ++i) {
    double value = amplitude * std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / rate);
    for (int c = 0; c < channels; ++c) wav.samples.push_back(static_cast<int16_t>(value));
  }
  return wav;
}

WavData levelWav(int rate, int channels, double seconds, int value) {
  WavData wav;
  wav.rate = rate;
  wav.channels = channels;
  wav.samples.assign(static_cast<size_t>(seconds * rate) * channels, static_cast<int16_t>(value));
  return wav;
}
