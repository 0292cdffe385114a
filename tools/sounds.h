// The game's three sounds, synthesised, as 16-bit mono PCM.
#pragma once

#include <cstdint>
#include <vector>

// Sample rate of every generated sound.
constexpr int kSoundRate = 22050;

// The contact alarm: a siren switching between 960 Hz and 770 Hz every
// 0.15 s for 0.9 s, phase-continuous across the switches, faded in and out.
std::vector<int16_t> makeAlarm();
// The missile launch: 0.8 s of noise through a band filter sweeping down
// from high to low, with a quick attack and a long decay.
std::vector<int16_t> makeMissileWhoosh();
// The music: 20 s (10 bars at 120 beats a minute) of pad chords, bass and
// arpeggio, mixed circularly so that the last sample runs on into the first
// without a step; it starts and ends at a zero crossing.
std::vector<int16_t> makeMusic();

// The bytes of a RIFF WAVE file: PCM, one channel, 16 bits, at `rate`.
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate);
