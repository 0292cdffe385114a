#include "tools/sounds.h"

#include <algorithm>
#include <cmath>

namespace {

const double kTwoPi = 2.0 * M_PI;

// A small deterministic noise source (xorshift), values in [-1, 1].
struct Noise {
  uint32_t state = 0x12345678u;
  double next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483647.5 - 1.0;
  }
};

// Scales `mix` so that its loudest sample reaches `peak` of full scale.
std::vector<int16_t> toPcm(const std::vector<double>& mix, double peak) {
  double largest = 1e-9;
  for (double s : mix) largest = std::max(largest, std::fabs(s));
  double gain = peak * 32767.0 / largest;
  std::vector<int16_t> out(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) {
    out[i] = static_cast<int16_t>(std::lround(std::clamp(mix[i] * gain, -32767.0, 32767.0)));
  }
  return out;
}

// Linear fade over `n` samples at both ends.
void fadeEnds(std::vector<double>& mix, size_t n) {
  for (size_t i = 0; i < n && i < mix.size(); ++i) {
    double g = static_cast<double>(i) / n;
    mix[i] *= g;
    mix[mix.size() - 1 - i] *= g;
  }
}

double midiFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Adds a note into the circular buffer `mix` from sample `start` for
// `length` samples (wrapping at the end). The tone is a few harmonics with
// the given weights; the envelope rises over `attack` seconds and falls
// exponentially with `decay` seconds, and the last 20 ms fade to zero.
void addNote(std::vector<double>& mix, size_t start, size_t length, double frequency, double level,
             double attack, double decay, const std::vector<double>& harmonics, double detune) {
  const double rate = kSoundRate;
  const size_t release = static_cast<size_t>(0.02 * rate);
  for (size_t i = 0; i < length; ++i) {
    double t = i / rate;
    double envelope = std::min(1.0, t / attack) * std::exp(-t / decay);
    if (i + release > length) envelope *= static_cast<double>(length - i) / release;
    double sample = 0;
    for (size_t h = 0; h < harmonics.size(); ++h) {
      double f = frequency * (h + 1);
      if (f > 0.45 * rate) break;
      if (harmonics[h] == 0) continue;
      sample += harmonics[h] * (std::sin(kTwoPi * f * t) + std::sin(kTwoPi * f * (1 + detune) * t));
    }
    mix[(start + i) % mix.size()] += level * envelope * sample;
  }
}

}  // namespace

std::vector<int16_t> makeAlarm() {
  const size_t n = static_cast<size_t>(0.9 * kSoundRate);
  std::vector<double> mix(n);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kSoundRate;
    double frequency = (static_cast<int>(t / 0.15) % 2 == 0) ? 960.0 : 770.0;
    phase += kTwoPi * frequency / kSoundRate;
    // A bright, square-ish tone: odd harmonics.
    mix[i] = std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5;
  }
  fadeEnds(mix, kSoundRate / 200);
  return toPcm(mix, 0.8);
}

std::vector<int16_t> makeMissileWhoosh() {
  const size_t n = static_cast<size_t>(0.8 * kSoundRate);
  std::vector<double> mix(n);
  Noise noise;
  double low = 0, band = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kSoundRate;
    // State-variable filter whose centre sweeps from 4 kHz down to 300 Hz.
    double centre = 300.0 + 3700.0 * std::exp(-t / 0.18);
    double f = 2.0 * std::sin(M_PI * centre / kSoundRate);
    double high = noise.next() - low - 0.5 * band;
    band += f * high;
    low += f * band;
    double envelope = std::min(1.0, t / 0.03) * std::exp(-t / 0.28);
    mix[i] = envelope * (band + 0.3 * low);
  }
  fadeEnds(mix, kSoundRate / 100);
  return toPcm(mix, 0.85);
}

std::vector<int16_t> makeMusic() {
  const double beat = 0.5;  // seconds, 120 beats a minute
  const size_t beatSamples = static_cast<size_t>(beat * kSoundRate);
  const size_t barSamples = 4 * beatSamples;
  const int bars = 10;
  std::vector<double> mix(bars * barSamples);

  // Chord roots and qualities (MIDI notes), one chord per bar.
  const int chords[bars][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}, {57, 60, 64},
                               {53, 57, 60}, {50, 53, 57}, {52, 56, 59}, {57, 60, 64}, {52, 56, 59}};
  const std::vector<double> padTone = {1.0, 0.4, 0.2, 0.1};
  const std::vector<double> bassTone = {1.0, 0.5, 0.15};
  const std::vector<double> bellTone = {1.0, 0.0, 0.3, 0.0, 0.1};
  const int arpeggio[8] = {0, 1, 2, 1, 0, 2, 1, 2};

  for (int bar = 0; bar < bars; ++bar) {
    size_t barStart = bar * barSamples;
    // Pad: the chord one octave up, slow attack, held slightly past the bar
    // so that it overlaps the next one (the overlap wraps into bar 1).
    for (int k = 0; k < 3; ++k) {
      addNote(mix, barStart, barSamples + beatSamples, midiFrequency(chords[bar][k] + 12), 0.16, 0.4,
              3.0, padTone, 0.003);
    }
    // Bass: the root two octaves down on beats 1 and 3.
    for (int b = 0; b < 4; b += 2) {
      addNote(mix, barStart + b * beatSamples, 2 * beatSamples, midiFrequency(chords[bar][0] - 12),
              0.5, 0.01, 0.5, bassTone, 0.0);
    }
    // Arpeggio: eighth notes over the chord, two octaves up.
    for (int e = 0; e < 8; ++e) {
      int note = chords[bar][arpeggio[e]] + 24;
      addNote(mix, barStart + e * beatSamples / 2, beatSamples, midiFrequency(note), 0.12, 0.005,
              0.18, bellTone, 0.0);
    }
  }

  // Start at the gentlest upward zero crossing within 50 ms of the top of
  // the first bar, so the loop begins and ends at (near) zero; the buffer is
  // periodic, so rotating it keeps the seam as smooth as any other point.
  const size_t n = mix.size();
  const size_t window = kSoundRate / 20;
  size_t best = 0;
  double bestSize = 1e300;
  for (size_t d = 0; d < 2 * window; ++d) {
    size_t i = (n - window + d) % n, next = (i + 1) % n;
    double size = std::max(std::fabs(mix[i]), std::fabs(mix[next]));
    if (mix[i] < 0 && mix[next] >= 0 && size < bestSize) {
      bestSize = size;
      best = next;
    }
  }
  std::rotate(mix.begin(), mix.begin() + best, mix.end());
  return toPcm(mix, 0.7);
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate) {
  std::vector<uint8_t> out;
  auto put16 = [&](uint32_t v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
  };
  auto put32 = [&](uint32_t v) {
    put16(v & 0xffff);
    put16(v >> 16);
  };
  auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  tag("RIFF");
  put32(36 + dataBytes);
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put16(1);                              // PCM
  put16(1);                              // mono
  put32(static_cast<uint32_t>(rate));
  put32(static_cast<uint32_t>(rate) * 2);  // bytes per second
  put16(2);                              // bytes per frame
  put16(16);                             // bits per sample
  tag("data");
  put32(dataBytes);
  for (int16_t s : samples) put16(static_cast<uint16_t>(s));
  return out;
}
