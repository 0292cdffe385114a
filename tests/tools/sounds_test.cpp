// The three generated sounds: WAV format, lengths, the alarm's two tones,
// the whoosh's falling sweep and a music loop without a click at its seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/sounds.h"

namespace {

struct Wav {
  bool ok = false;
  int channels = 0, rate = 0, bits = 0, format = 0;
  std::vector<int16_t> samples;
};

uint32_t le(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

// A strict reading of the canonical 44-byte-header WAV layout.
Wav parseWav(const std::vector<uint8_t>& b) {
  Wav w;
  if (b.size() < 44 || memcmp(&b[0], "RIFF", 4) || memcmp(&b[8], "WAVE", 4) || memcmp(&b[12], "fmt ", 4) ||
      memcmp(&b[36], "data", 4)) {
    return w;
  }
  if (le(b, 4, 4) != b.size() - 8 || le(b, 16, 4) != 16 || le(b, 40, 4) != b.size() - 44) return w;
  w.format = le(b, 20, 2);
  w.channels = le(b, 22, 2);
  w.rate = le(b, 24, 4);
  w.bits = le(b, 34, 2);
  if (le(b, 28, 4) != static_cast<uint32_t>(w.rate * w.channels * w.bits / 8)) return w;
  if (le(b, 32, 2) != static_cast<uint32_t>(w.channels * w.bits / 8)) return w;
  for (size_t i = 44; i + 1 < b.size(); i += 2) w.samples.push_back(static_cast<int16_t>(le(b, i, 2)));
  w.ok = true;
  return w;
}

double seconds(const std::vector<int16_t>& s) { return static_cast<double>(s.size()) / kSoundRate; }

// Upward zero crossings per second between two times: the pitch of a tone
// whose harmonics do not add crossings of their own.
double crossingRate(const std::vector<int16_t>& s, double from, double to) {
  size_t a = static_cast<size_t>(from * kSoundRate), b = static_cast<size_t>(to * kSoundRate);
  int crossings = 0;
  for (size_t i = a + 1; i < b; ++i) {
    if (s[i - 1] < 0 && s[i] >= 0) ++crossings;
  }
  return crossings / (to - from);
}

double rms(const std::vector<int16_t>& s, double from, double to) {
  size_t a = static_cast<size_t>(from * kSoundRate), b = static_cast<size_t>(to * kSoundRate);
  double sum = 0;
  for (size_t i = a; i < b; ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / (b - a));
}

}  // namespace

TEST(Sounds, AreMono16BitPcmWavFiles) {
  for (const std::vector<int16_t>& s : {makeAlarm(), makeMissileWhoosh(), makeMusic()}) {
    Wav w = parseWav(encodeWav(s, kSoundRate));
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.rate, 22050);
    EXPECT_EQ(w.samples, s);
  }
  Wav tiny = parseWav(encodeWav({-2, 1, 32767}, 8000));
  ASSERT_TRUE(tiny.ok);
  EXPECT_EQ(tiny.rate, 8000);
  EXPECT_EQ(tiny.samples, (std::vector<int16_t>{-2, 1, 32767}));
}

TEST(Sounds, AlarmIsATwoToneSirenUnderOneSecond) {
  std::vector<int16_t> alarm = makeAlarm();
  EXPECT_LT(seconds(alarm), 1.0);
  EXPECT_GT(seconds(alarm), 0.5);
  // 960 Hz in the first 0.15 s, 770 Hz in the next, and back again.
  EXPECT_NEAR(crossingRate(alarm, 0.01, 0.14), 960, 40);
  EXPECT_NEAR(crossingRate(alarm, 0.16, 0.29), 770, 40);
  EXPECT_NEAR(crossingRate(alarm, 0.31, 0.44), 960, 40);
  EXPECT_GT(rms(alarm, 0.1, 0.8), 8000) << "loud enough to hear";
  // Faded at both ends: no click when it starts or stops.
  EXPECT_LT(std::abs(alarm.front()), 200);
  EXPECT_LT(std::abs(alarm.back()), 200);
  // Phase-continuous where the tone changes: no step larger than a sine of
  // this loudness makes anywhere else.
  int largest = 0;
  for (size_t i = 1; i < alarm.size(); ++i) largest = std::max(largest, std::abs(alarm[i] - alarm[i - 1]));
  size_t change = static_cast<size_t>(0.15 * kSoundRate);
  EXPECT_LE(std::abs(alarm[change] - alarm[change - 1]), largest);
  EXPECT_LT(largest, 32767) << "no full-scale jump";
}

TEST(Sounds, MissileIsAShortNoiseSweepThatFades) {
  std::vector<int16_t> whoosh = makeMissileWhoosh();
  EXPECT_GT(seconds(whoosh), 0.3);
  EXPECT_LT(seconds(whoosh), 1.5);
  EXPECT_GT(rms(whoosh, 0.0, 0.2), 2 * rms(whoosh, 0.5, 0.75)) << "dies away";
  // The sweep falls: far more zero crossings early than late.
  EXPECT_GT(crossingRate(whoosh, 0.02, 0.12), 2 * crossingRate(whoosh, 0.5, 0.75));
  EXPECT_LT(std::abs(whoosh.front()), 200);
  EXPECT_LT(std::abs(whoosh.back()), 200);
}

TEST(Sounds, MusicLoopsFor20SecondsWithoutAClick) {
  std::vector<int16_t> music = makeMusic();
  EXPECT_NEAR(seconds(music), 20.0, 0.5);
  EXPECT_GT(rms(music, 0, 19.9), 2000) << "not silent";
  // Starts and ends at a zero crossing.
  EXPECT_LT(music.back(), 0);
  EXPECT_GE(music.front(), 0);
  EXPECT_LT(std::abs(music.front()), 300);
  EXPECT_LT(std::abs(music.back()), 300);
  // Seamless: played in a loop, the waveform runs on from the last sample to
  // the first as smoothly as anywhere inside. A click shows as a second
  // difference far beyond those of the music itself.
  size_t n = music.size();
  auto curve = [&](size_t i) {
    return std::abs(music[(i + 2) % n] - 2 * music[(i + 1) % n] + music[i % n]);
  };
  std::vector<int> inside;
  for (size_t i = 0; i + 2 < n; ++i) inside.push_back(curve(i));
  std::sort(inside.begin(), inside.end());
  int typical = inside[inside.size() * 999 / 1000];
  EXPECT_LE(curve(n - 2), typical);
  EXPECT_LE(curve(n - 1), typical);
  EXPECT_LE(std::abs(music[0] - music[n - 1]), 1000);
}

TEST(Sounds, AreTheSameEveryTime) {
  EXPECT_EQ(makeAlarm(), makeAlarm());
  EXPECT_EQ(makeMissileWhoosh(), makeMissileWhoosh());
  EXPECT_EQ(makeMusic(), makeMusic());
}
